// RealMedia RTSP benchmark driver. Replays a real file's packets, repeated with growing time stamps
// until the stream has the asked size, from a minimal RealMedia RTSP server on loopback as fast as
// the socket takes them, and downloads it with the engine's downloader into a RealMedia file.
// Prints throughput, CPU time and peak memory. Then times the file writer alone per packet: as
// built (packet, then headers) and with the file forced to disk after every packet.
//   rm_driver <source.rm> <out-dir> <stream-mib>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "DownRTSP554.h"
#include "Factories.h"
#include "FmtRM.h"
#include "OutputFileView.h"

namespace {

struct Packet {
    uint16_t stream;
    uint32_t timestamp;
    bool key;
    std::string data;
};

uint32_t Be(const std::string& b, size_t at, int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = v << 8 | uint8_t(b[at + i]);
    return v;
}

// The packets and the description of a file made by ffmpeg (its layout is known and sound).
void Load(const std::string& file, std::vector<Packet>& packets, std::string& sdp) {
    const uint32_t dataOffset = Be(file, 18 + 42, 4);
    const uint32_t count = Be(file, dataOffset + 10, 4);
    size_t at = dataOffset + 18;
    for (uint32_t i = 0; i < count; ++i) {
        const uint16_t length = uint16_t(Be(file, at + 2, 2));
        packets.push_back({uint16_t(Be(file, at + 4, 2)), Be(file, at + 6, 4), (file[at + 11] & 2) != 0,
                           file.substr(at + 12, length - 12u)});
        at += length;
    }
    sdp = "v=0\r\n";
    size_t chunk = 18 + 50;
    chunk += Be(file, chunk + 4, 4);  // CONT
    for (int s = 0; chunk < dataOffset; ++s) {
        std::string m = "m=" + std::string(s == 0 ? "video" : "audio") + " 0 RTP/AVP 101\r\n";
        m += "a=control:streamid=" + std::to_string(s) + "\r\n";
        m += "a=AvgBitRate:integer;" + std::to_string(Be(file, chunk + 16, 4)) + "\r\n";
        const size_t nameAt = chunk + 40;
        const size_t mimeAt = nameAt + 1 + uint8_t(file[nameAt]);
        m += "a=mimetype:string;\"" + file.substr(mimeAt + 1, uint8_t(file[mimeAt])) + "\"\r\n";
        sdp += m;
        chunk += Be(file, chunk + 4, 4);
    }
}

std::string Unit(const Packet& p) {
    std::string u = "$";
    u += char(0);
    const size_t payload = 10 + p.data.size();
    u += char(payload >> 8);
    u += char(payload);
    u += char(p.stream << 1);
    u += char(0);
    u += char(0);
    u += char(p.key ? 0 : 1);
    for (int i = 3; i >= 0; --i) u += char(p.timestamp >> (8 * i));
    u += std::string(2, '\0');
    return u + p.data;
}

bool ReadHead(int fd, std::string& head) {
    head.clear();
    char c;
    while (head.size() < 4 || head.compare(head.size() - 4, 4, "\r\n\r\n") != 0) {
        if (read(fd, &c, 1) != 1) return false;
        head += c;
    }
    return true;
}

std::string CSeq(const std::string& head) {
    const size_t at = head.find("CSeq: ");
    return head.substr(at + 6, head.find("\r\n", at) - at - 6);
}

void SendAll(int fd, const std::string& bytes) {
    for (size_t sent = 0; sent < bytes.size();) {
        const ssize_t n = write(fd, bytes.data() + sent, bytes.size() - sent);
        if (n <= 0) return;
        sent += size_t(n);
    }
}

void Serve(int listener, const std::string& sdp, const std::vector<Packet>& packets, uint64_t streamBytes) {
    const int fd = accept(listener, nullptr, nullptr);
    std::string head;
    while (ReadHead(fd, head)) {
        std::string reply = "RTSP/1.0 200 OK\r\nCSeq: " + CSeq(head) + "\r\n";
        if (head.rfind("DESCRIBE ", 0) == 0) {
            const std::string url = head.substr(9, head.find(' ', 9) - 9);
            reply += "ETag: 1\r\nContent-base: " + url + "/\r\nContent-length: " + std::to_string(sdp.size()) +
                     "\r\n\r\n" + sdp;
        } else {
            reply += "\r\n";
        }
        if (head.rfind("PLAY ", 0) != 0) {
            SendAll(fd, reply);
            continue;
        }
        // Rounds of the file's packets, each round's time stamps after the last.
        const uint32_t span = packets.back().timestamp + 100;
        std::string batch = reply;
        uint64_t sent = 0;
        for (uint32_t round = 0; sent < streamBytes; ++round) {
            for (const Packet& p : packets) {
                Packet q = p;
                q.timestamp += round * span;
                batch += Unit(q);
                sent += q.data.size();
            }
            SendAll(fd, batch);
            batch.clear();
        }
        // The stream-end unit (type 0xFF06).
        SendAll(fd, std::string("$\0\0\x0b\x40\xFF\x06", 7) + std::string(8, '\0'));
    }
    close(fd);
}

double CpuSeconds() {
    rusage u;
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

long PeakKiB() {
    rusage u;
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// The writer alone over n packets; with sync, every packet and header update is forced to disk
// (what a flush of the file's buffers to disk after each write costs).
class SyncedView final : public IOutputFile {
public:
    SyncedView(sys::BinaryFile& file, int fd) : view_(file), fd_(fd) {}
    int64_t GetLength() override { return view_.GetLength(); }
    bool ReadAt(int64_t o, uint8_t* d, size_t c) override { return view_.ReadAt(o, d, c); }
    bool WriteAt(int64_t o, const uint8_t* d, size_t c) override { return view_.WriteAt(o, d, c) && fdatasync(fd_) == 0; }
    bool SetLength(int64_t l) override { return view_.SetLength(l); }
    bool Flush() override { return true; }

private:
    OutputFileView view_;
    int fd_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: rm_driver <source.rm> <out-dir> <stream-mib>\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<Packet> packets;
    std::string sdp;
    Load(file, packets, sdp);
    const std::string out = std::string(argv[2]) + "/stream.rm";
    const uint64_t streamBytes = uint64_t(std::atoll(argv[3])) << 20;

    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    listen(listener, 1);
    std::thread server(Serve, listener, sdp, packets, streamBytes);

    unlink(out.c_str());
    const double cpu0 = CpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    EnginePtr<CDownBase> down(static_cast<CDownBase*>(NEW_DOWNRTSP554()));
    const std::string url = "rtsp://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/stream.rm";
    down->SetUrl(url.c_str(), out.c_str());
    const int32_t result = down->Run(nullptr);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double cpu = CpuSeconds() - cpu0;
    server.join();
    close(listener);
    const double mib = double(down->BytesOnDisk()) / (1 << 20);
    std::printf("download  result %d  %.0f MiB  %.2f s  %.0f MiB/s  cpu %.2f s (both ends)  peak %ld KiB\n", result,
                mib, seconds, mib / seconds, cpu, PeakKiB());

    // The writer alone: packets per second as built, and with every write forced to disk.
    for (const bool sync : {false, true}) {
        const size_t n = sync ? 2000 : 200000;
        const std::string path = std::string(argv[2]) + "/writer.rm";
        sys::BinaryFile f;
        f.Open(path, false);
        const int fd = open(path.c_str(), O_WRONLY);
        OutputFileView plain(f);
        SyncedView synced(f, fd);
        EnginePtr<CFmtRM> writer(static_cast<CFmtRM*>(NEW_FMTRM()));
        writer->Open(sync ? static_cast<IOutputFile*>(&synced) : &plain, sdp.c_str(), false);
        CByteBuffer unit;
        const auto w0 = std::chrono::steady_clock::now();
        for (size_t i = 0; i < n; ++i) {
            Packet p = packets[i % packets.size()];
            p.timestamp += uint32_t(i / packets.size()) * 10000;
            std::string u = Unit(p);
            const size_t media = u.size() - 14;
            u[2] = char(media);
            u[3] = char(media >> 8);
            unit.Reset();
            unit.Append(u.data(), int32_t(u.size()));
            writer->WritePacket(&unit);
        }
        writer->Finish();
        const double ws = std::chrono::duration<double>(std::chrono::steady_clock::now() - w0).count();
        std::printf("writer    %-28s %zu packets  %.2f us/packet\n",
                    sync ? "forced to disk every write" : "packet, then headers", n, ws * 1e6 / double(n));
        close(fd);
        unlink(path.c_str());
    }
    unlink(out.c_str());
    return result == 0 ? 0 : 1;
}
