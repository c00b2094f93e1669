// The manager's table as the program sees it. Slot numbers are fixed; item handles are opaque.
#pragma once
#include <cstdint>

#include "EngineObject.h"
#include "EngineTypes.h"

using ItemHandle = void*;

class IFetchkeeper : public IEngineObject {
public:
    // Answers true; nothing calls it: kept for the table's layout.
    virtual bool FK_STDCALL ReturnTrue() = 0;                                               // 3
    virtual void FK_STDCALL SetMaxThread(int32_t count) = 0;                                // 4
    virtual bool FK_STDCALL AddItem(const char* url, const char* destDir, const char* fileName) = 0;
    // The program does not call it: kept for the table's layout.
    virtual int32_t FK_STDCALL GetCount() = 0;                                              // 6
    virtual bool FK_STDCALL RemoveAll() = 0;                                                // 7
    virtual bool FK_STDCALL RemoveItem(ItemHandle item) = 0;                                // 8
    virtual ItemHandle FK_STDCALL GetFirstItem() = 0;                                       // 9
    virtual ItemHandle FK_STDCALL GetNextItem(ItemHandle item) = 0;                         // 10
    virtual bool FK_STDCALL StartItem(ItemHandle item) = 0;                                 // 11
    virtual bool FK_STDCALL StopItem(ItemHandle item) = 0;                                  // 12
    virtual bool FK_STDCALL TakeItemChanged(ItemHandle item) = 0;                           // 13
    virtual bool FK_STDCALL SetItemUrl(ItemHandle item, const char* url, const char* destFile) = 0;
    virtual bool FK_STDCALL GetItemInfo(ItemHandle item, DownItemInfo* out) = 0;            // 15
    virtual bool FK_STDCALL GetItemDestFile(ItemHandle item, char* out) = 0;                // 16
    virtual bool FK_STDCALL LoadProject(const char* iniPath) = 0;                           // 17
    virtual bool FK_STDCALL SaveProject(const char* iniPath) = 0;                           // 18
    virtual bool FK_STDCALL GetDestPath(const char* iniPath, char* out) = 0;                // 19
    virtual bool FK_STDCALL SetDestPath(const char* iniPath, const char* dir) = 0;          // 20
    virtual int32_t FK_STDCALL GetMaxThread(const char* iniPath) = 0;                       // 21
    virtual bool FK_STDCALL SaveMaxThread(const char* iniPath, int32_t count) = 0;          // 22
    virtual int32_t FK_STDCALL GetTimeOut(const char* iniPath) = 0;                         // 23
    virtual bool FK_STDCALL SetTimeOut(const char* iniPath, int32_t seconds) = 0;           // 24
    virtual bool FK_STDCALL GetProxy(const char* iniPath, char* server, char* port, uint8_t* enabled) = 0;
    virtual bool FK_STDCALL SetProxy(const char* iniPath, const char* server, const char* portText,
                                     int32_t enable) = 0;                                   // 26
    virtual bool FK_STDCALL FileNameFromUrl(const char* url, char* out) = 0;                // 27
    virtual void FK_STDCALL UrlWithLogin(const char* url, const char* user, const char* password,
                                         char* out) = 0;                                    // 28

protected:
    ~IFetchkeeper() = default;
};
