#include "DownHTTP.h"

#include "Factories.h"

int32_t CDownHTTP::Begin() {
    protocolKind_ = KindHttp;
    int32_t code = CDownBase::Begin();
    if (code != 0) return code;
    Log("\r\n------vvv------START DOWNLOAD HTTP 80--------------\r\n");
    return ResultSuccess;
}

std::string CDownHTTP::MakeRequest() {
    std::string request = RequestLine();
    if (resuming_) request += "Range: bytes=" + std::to_string(bytesOnDisk_) + "-\r\n";
    request += HostLine();
    request +=
        "Accept: */*\r\n"
        "Accept-Language: en\r\n"
        "User-Agent: Tarvexa Ripplecast\r\n"
        "Pragma: no-cache\r\n"
        "Cache-Control: no-cache\r\n"
        "Connection: close\r\n"
        "\r\n";
    return request;
}

bool CDownHTTP::ReturnTrue() { return true; }

FK_DEFINE_FACTORIES(DOWNHTTP, CDownHTTP)
