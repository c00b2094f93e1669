// A RealMedia data unit as it comes interleaved on an RTSP connection and as the RTSP downloader
// hands it to the file writer: '$', the channel, a 16-bit length, then the packet: a 10-byte
// payload header (stream flags, packet type, key-frame flags, timestamp) and the media data.
//
// The length field changes meaning on the way: from the server it is the packet's length,
// big-endian (PacketLength); before the downloader hands the unit on it writes there the media
// data's length, little-endian (SetMediaLength), which is what the writer reads (MediaLength).
#pragma once
#include <cstddef>
#include <cstdint>

class RmUnitView {
public:
    // Offsets in the unit.
    static constexpr size_t kMarkerAt = 0;
    static constexpr size_t kChannelAt = 1;
    static constexpr size_t kLengthAt = 2;
    static constexpr size_t kPacketAt = 4;       // the payload: the packet the length counts
    static constexpr size_t kStreamFlagsAt = 4;  // the stream number in bits 1 to 5
    static constexpr size_t kPacketTypeAt = 5;   // with the next byte, kStreamEndType ends the stream
    static constexpr size_t kKeyFlagsAt = 7;
    static constexpr size_t kTimestampAt = 8;    // milliseconds, big-endian
    static constexpr size_t kMediaAt = 14;
    static constexpr size_t kPayloadHeader = kMediaAt - kPacketAt;

    static constexpr uint8_t kMarker = '$';
    // A packet type byte that marks a control unit, which the downloader rebuilds.
    static constexpr uint8_t kControlType = 0xFF;
    // The packet type (two bytes from kPacketTypeAt, big-endian) of the unit that ends the stream.
    static constexpr uint16_t kStreamEndType = 0xFF06;
    static constexpr uint8_t kStreamBits = 0x1F;  // of the stream flags shifted right by one
    static constexpr uint8_t kNotKeyFrame = 0x01;  // of the key-frame flags

    RmUnitView(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(bytes ? size : 0) {}

    size_t Size() const { return size_; }
    // The unit begins with '$' (what else comes there is a text message).
    bool IsFrame() const { return U8At(kMarkerAt) == kMarker; }
    uint8_t Channel() const { return U8At(kChannelAt); }
    uint16_t PacketLength() const;
    uint16_t MediaLength() const;
    uint8_t Stream() const { return uint8_t((U8At(kStreamFlagsAt) >> 1) & kStreamBits); }
    uint8_t PacketType() const { return U8At(kPacketTypeAt); }
    bool EndsStream() const;
    bool KeyFrame() const { return (U8At(kKeyFlagsAt) & kNotKeyFrame) == 0; }
    uint32_t Timestamp() const;
    // The media data; null when the unit is too short to hold its payload header.
    const uint8_t* Media() const { return size_ >= kMediaAt ? bytes_ + kMediaAt : nullptr; }

    // Writes the media data's length where the writer reads it.
    static void SetMediaLength(uint8_t* unit, uint16_t length);

private:
    // 0 for a byte beyond the unit.
    uint8_t U8At(size_t offset) const;

    const uint8_t* bytes_;
    size_t size_;
};
