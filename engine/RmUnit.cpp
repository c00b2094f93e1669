#include "RmUnit.h"

#include "ByteReader.h"

namespace {

// A reader at offset of the unit, failed (reading 0) when the unit ends before it.
ByteReader ReaderAt(const uint8_t* bytes, size_t size, size_t offset) {
    ByteReader reader(bytes, size);
    reader.Seek(offset);
    return reader;
}

}  // namespace

uint8_t RmUnitView::U8At(size_t offset) const { return ReaderAt(bytes_, size_, offset).U8(); }

uint16_t RmUnitView::PacketLength() const { return ReaderAt(bytes_, size_, kLengthAt).U16Be(); }

uint16_t RmUnitView::MediaLength() const { return ReaderAt(bytes_, size_, kLengthAt).U16Le(); }

bool RmUnitView::EndsStream() const {
    ByteReader reader = ReaderAt(bytes_, size_, kPacketTypeAt);
    return reader.U16Be() == kStreamEndType && reader.Ok();
}

uint32_t RmUnitView::Timestamp() const { return ReaderAt(bytes_, size_, kTimestampAt).U32Be(); }

void RmUnitView::SetMediaLength(uint8_t* unit, uint16_t length) {
    unit[kLengthAt] = uint8_t(length);
    unit[kLengthAt + 1] = uint8_t(length >> 8);
}
