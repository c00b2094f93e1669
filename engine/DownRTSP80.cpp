#include "DownRTSP80.h"

#include "Factories.h"

int32_t CDownRTSP80::Begin() {
    protocolKind_ = KindRtsp80;
    int32_t code = CDownBase::Begin();
    if (code != 0) return code;
    Log("\r\n------vvv------START DOWNLOAD RTSP 80--------------\r\n");
    return ResultSuccess;
}

std::string CDownRTSP80::MakeRequest() {
    std::string request = RequestLine();
    if (resuming_) request += "Range: bytes=" + std::to_string(bytesOnDisk_) + "-\r\n";
    request +=
        "Accept: */*\r\n"
        "User-Agent: RMA/1.0 (compatible; RealMedia)\r\n"
        "Icy-MetaData: 1\r\n"
        "Bandwidth: 10485800\r\n"
        "ClientID: WinNT_5.1_6.0.11.818_RealPlayer_RN10PD_en-US_UNK\r\n"
        "GUID: 00000000-0000-0000-0000-000000000000\r\n"
        "Language: en-US, en, *\r\n"
        "RegionData: 0\r\n"
        "SupportsMaximumASMBandwidth: 1\r\n"
        "Connection: Keep-Alive\r\n";
    request += HostLine();
    // The body is written as it comes: a compressed one stays compressed.
    request +=
        "Accept-Language: en-US, en, *\r\n"
        "Accept-Encoding: gzip\r\n"
        "\r\n";
    return request;
}

bool CDownRTSP80::ReturnTrue() { return true; }

FK_DEFINE_FACTORIES(DOWNRTSP80, CDownRTSP80)
