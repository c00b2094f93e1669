// The download manager: owns the download list, schedules waiting items, and forwards settings
// and the saved list to the store.
#pragma once
#include <string>

#include "DestIndex.h"
#include "DownItem.h"
#include "IFetchkeeper.h"
#include "IItemHost.h"
#include "ItemList.h"

class CFetchkeeper final : public EngineObject<CFetchkeeper, IFetchkeeper>, public IItemHost {
public:
    CFetchkeeper() = default;
    ~CFetchkeeper();

    bool FK_STDCALL Init() override;
    bool FK_STDCALL ReturnTrue() override;
    void FK_STDCALL SetMaxThread(int32_t count) override;
    bool FK_STDCALL AddItem(const char* url, const char* destDir, const char* fileName) override;
    int32_t FK_STDCALL GetCount() override;
    bool FK_STDCALL RemoveAll() override;
    bool FK_STDCALL RemoveItem(ItemHandle item) override;
    ItemHandle FK_STDCALL GetFirstItem() override;
    ItemHandle FK_STDCALL GetNextItem(ItemHandle item) override;
    bool FK_STDCALL StartItem(ItemHandle item) override;
    bool FK_STDCALL StopItem(ItemHandle item) override;
    bool FK_STDCALL TakeItemChanged(ItemHandle item) override;
    bool FK_STDCALL SetItemUrl(ItemHandle item, const char* url, const char* destFile) override;
    bool FK_STDCALL GetItemInfo(ItemHandle item, DownItemInfo* out) override;
    bool FK_STDCALL GetItemDestFile(ItemHandle item, char* out) override;
    bool FK_STDCALL LoadProject(const char* iniPath) override;
    bool FK_STDCALL SaveProject(const char* iniPath) override;
    bool FK_STDCALL GetDestPath(const char* iniPath, char* out) override;
    bool FK_STDCALL SetDestPath(const char* iniPath, const char* dir) override;
    int32_t FK_STDCALL GetMaxThread(const char* iniPath) override;
    bool FK_STDCALL SaveMaxThread(const char* iniPath, int32_t count) override;
    int32_t FK_STDCALL GetTimeOut(const char* iniPath) override;
    bool FK_STDCALL SetTimeOut(const char* iniPath, int32_t seconds) override;
    bool FK_STDCALL GetProxy(const char* iniPath, char* server, char* port, uint8_t* enabled) override;
    bool FK_STDCALL SetProxy(const char* iniPath, const char* server, const char* portText,
                             int32_t enable) override;
    bool FK_STDCALL FileNameFromUrl(const char* url, char* out) override;
    void FK_STDCALL UrlWithLogin(const char* url, const char* user, const char* password,
                                 char* out) override;

    void FK_STDCALL AddFoundItem(const char* url, const char* destDir, int32_t kind) override;
    void FK_STDCALL ItemFinished() override;
    void FK_STDCALL AddFoundItemAtDepth(const char* url, const char* destDir, int32_t kind,
                                        int32_t depth) override;

    int32_t MaxThread();
    bool Debug();

private:
    CDownItem* Find(ItemHandle item);  // the listed item behind a handle, or null
    bool Insert(const char* url, const char* destDir, const char* fileName, int32_t kind, int32_t depth = 0);
    void ScheduleNext();
    std::string UniqueDest(std::string dest);

    ItemList items_;
    // Every listed item's destination and record name: a clash is found without a walk.
    DestIndex dests_;
    // Set while RemoveAll waits for runs to end: late playlist entries and starts are refused.
    bool closing_ = false;
    int32_t maxThread_ = 3;
    bool debug_ = false;
};
