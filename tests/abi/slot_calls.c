/* Calls the manager of Fetchkeeper.dll the way a program built with another tool chain does: the
 * factory bound by name, every operation by its slot number in the raw table, arguments pushed by
 * hand. After each call the stack pointer must be where it was (the callee removes its arguments). */
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <winsock2.h>
#include <windows.h>

/* Pushes nargs 32-bit words (args[0] pushed last, so it is the first argument), then the object,
 * calls table slot `slot`, stores EAX in *result and returns how far ESP moved (0 when balanced). */
int raw_call(void* object, int slot, int nargs, const uint32_t* args, uint32_t* result);
__asm__(
    ".text\n"
    ".globl _raw_call\n"
    "_raw_call:\n"
    "  pushl %ebp\n"
    "  movl %esp, %ebp\n"
    "  pushl %ebx\n"
    "  pushl %esi\n"
    "  pushl %edi\n"
    "  movl 20(%ebp), %esi\n"   /* args */
    "  movl 16(%ebp), %ecx\n"   /* nargs */
    "  movl %esp, %edi\n"       /* ESP before the pushes */
    "1:\n"
    "  testl %ecx, %ecx\n"
    "  jz 2f\n"
    "  pushl -4(%esi,%ecx,4)\n"
    "  decl %ecx\n"
    "  jmp 1b\n"
    "2:\n"
    "  movl 8(%ebp), %eax\n"    /* object */
    "  pushl %eax\n"
    "  movl (%eax), %edx\n"     /* its table */
    "  movl 12(%ebp), %ecx\n"   /* slot */
    "  call *(%edx,%ecx,4)\n"
    "  movl 24(%ebp), %ebx\n"
    "  movl %eax, (%ebx)\n"
    "  movl %esp, %eax\n"
    "  subl %edi, %eax\n"       /* ESP moved by this much */
    "  movl %edi, %esp\n"
    "  popl %edi\n"
    "  popl %esi\n"
    "  popl %ebx\n"
    "  popl %ebp\n"
    "  ret\n");

static int failures = 0;
static int checks = 0;

#define CHECK(cond)                                                        \
    do {                                                                   \
        ++checks;                                                          \
        if (!(cond)) {                                                     \
            ++failures;                                                    \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
        }                                                                  \
    } while (0)

/* One call; checks the stack balance and returns EAX. */
static uint32_t call(void* object, int slot, int nargs, const uint32_t* args, const char* what) {
    uint32_t result = 0;
    int moved = raw_call(object, slot, nargs, args, &result);
    ++checks;
    if (moved != 0) {
        ++failures;
        fprintf(stderr, "slot %d (%s): stack moved by %d bytes\n", slot, what, moved);
    }
    return result;
}

#define ARGS(...) ((const uint32_t[]){__VA_ARGS__})
#define P(x) ((uint32_t)(uintptr_t)(x))
#define BOOL_OF(v) ((uint8_t)((v) & 0xFF))

enum {
    SLOT_RELEASE = 1, SLOT_INIT = 2, SLOT_RETURN_TRUE = 3, SLOT_SET_MAX = 4, SLOT_ADD = 5,
    SLOT_COUNT = 6, SLOT_REMOVE_ALL = 7, SLOT_REMOVE = 8, SLOT_FIRST = 9, SLOT_NEXT = 10,
    SLOT_TAKE_CHANGED = 13, SLOT_SET_URL = 14, SLOT_INFO = 15, SLOT_DEST = 16, SLOT_LOAD = 17,
    SLOT_SAVE = 18, SLOT_GET_DEST_PATH = 19, SLOT_SET_DEST_PATH = 20, SLOT_GET_MAX = 21,
    SLOT_SAVE_MAX = 22, SLOT_GET_TIMEOUT = 23, SLOT_SET_TIMEOUT = 24, SLOT_GET_PROXY = 25,
    SLOT_SET_PROXY = 26, SLOT_FILE_NAME = 27, SLOT_URL_LOGIN = 28,
};

typedef struct {
    const char* url;
    const char* destFile;
    int32_t state;
    int32_t totalSize;
    int32_t downloaded;
    const char* logText;
    uint32_t logLength;
} Info;

/* The probe itself must notice a callee that leaves its arguments on the stack. */
static uint32_t __cdecl leaves_arguments(void* self, uint32_t x) { (void)self; return x + 1; }
static void* const cdecl_table[] = {(void*)leaves_arguments};

static void check_the_probe(void) {
    const void* object = cdecl_table;
    const void* const* fake = (const void* const*)&object;
    uint32_t result = 0;
    int moved = raw_call((void*)fake, 0, 1, ARGS(41), &result);
    CHECK(result == 42);
    CHECK(moved == -8);
}

/* A loopback listener that never answers: a download from it stays running, which keeps the queue
 * (the maximum is 1) from starting the items under test. Returns its port, 0 on failure. */
static int silent_listener(SOCKET* out) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 0;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    struct sockaddr_in address;
    memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (s == INVALID_SOCKET || bind(s, (struct sockaddr*)&address, sizeof address) != 0 || listen(s, 5) != 0 ||
        getsockname(s, (struct sockaddr*)&address, &length) != 0) {
        return 0;
    }
    *out = s;
    return ntohs(address.sin_port);
}

int main(void) {
    check_the_probe();
    HMODULE dll = LoadLibraryA("Fetchkeeper.dll");
    if (!dll) {
        fprintf(stderr, "cannot load Fetchkeeper.dll\n");
        return 1;
    }
    typedef void*(__stdcall * Factory)(void);
    Factory make = (Factory)(void (*)(void))GetProcAddress(dll, "_NEW_FETCHKEEPER@0");
    Factory shared = (Factory)(void (*)(void))GetProcAddress(dll, "_NEW_00_FETCHKEEPER@0");
    CHECK(make != NULL);
    CHECK(shared != NULL);
    CHECK(GetProcAddress(dll, "NEW_FETCHKEEPER") == NULL);
    if (!make || !shared) return 1;

    void* m = make();
    CHECK(m != NULL);
    void* other = make();
    CHECK(other != NULL && other != m); /* a new object each time */
    if (other) call(other, SLOT_RELEASE, 0, NULL, "Release");

    char dir[MAX_PATH], ini[MAX_PATH], tmpDir[MAX_PATH];
    GetTempPathA(sizeof tmpDir, tmpDir);
    snprintf(dir, sizeof dir, "%sfk-slot-%lu\\", tmpDir, (unsigned long)GetCurrentProcessId());
    CreateDirectoryA(dir, NULL);
    snprintf(ini, sizeof ini, "%sconfig.ini", dir);
    DeleteFileA(ini);

    CHECK(BOOL_OF(call(m, SLOT_RETURN_TRUE, 0, NULL, "ReturnTrue")) == 1);
    call(m, SLOT_SET_MAX, 1, ARGS(1), "SetMaxThread");
    CHECK(call(m, SLOT_COUNT, 0, NULL, "GetCount") == 0);
    CHECK(call(m, SLOT_FIRST, 0, NULL, "GetFirstItem") == 0);

    SOCKET listener = INVALID_SOCKET;
    const int holdPort = silent_listener(&listener);
    CHECK(holdPort != 0);
    char holdUrl[64];
    snprintf(holdUrl, sizeof holdUrl, "http://127.0.0.1:%d/hold.bin", holdPort);
    CHECK(BOOL_OF(call(m, SLOT_ADD, 3, ARGS(P(holdUrl), P(dir), P("hold.bin")), "AddItem")) == 1);
    void* hold = (void*)(uintptr_t)call(m, SLOT_FIRST, 0, NULL, "GetFirstItem");
    /* Once connected, the held run no longer reads the proxy that is set further down. */
    Info held;
    int connected = 0;
    for (int tries = 0; tries < 500 && !connected; ++tries) {
        memset(&held, 0, sizeof held);
        call(m, SLOT_INFO, 2, ARGS(P(hold), P(&held)), "GetItemInfo");
        connected = held.logText && strstr(held.logText, "Connect to server success") != NULL;
        if (!connected) Sleep(20);
    }
    CHECK(connected);
    CHECK(held.state == 2);

    CHECK(BOOL_OF(call(m, SLOT_ADD, 3, ARGS(P("http://a.example/clip.asf"), P(dir), P("clip.asf")), "AddItem")) == 1);
    CHECK(BOOL_OF(call(m, SLOT_ADD, 3, ARGS(P("http://a.example/other.asf"), P(dir), P("clip.asf")), "AddItem")) == 1);
    CHECK(BOOL_OF(call(m, SLOT_ADD, 3, ARGS(P("HTTP://A.EXAMPLE/CLIP.ASF"), P(dir), P("x.asf")), "AddItem")) == 1);
    CHECK(call(m, SLOT_COUNT, 0, NULL, "GetCount") == 3);

    void* first = (void*)(uintptr_t)call(m, SLOT_NEXT, 1, ARGS(P(hold)), "GetNextItem");
    void* second = (void*)(uintptr_t)call(m, SLOT_NEXT, 1, ARGS(P(first)), "GetNextItem");
    CHECK(first != NULL && second != NULL && first != second);
    CHECK(call(m, SLOT_NEXT, 1, ARGS(P(second)), "GetNextItem") == 0);

    Info info;
    memset(&info, 0, sizeof info);
    CHECK(BOOL_OF(call(m, SLOT_INFO, 2, ARGS(P(second), P(&info)), "GetItemInfo")) == 1);
    CHECK(info.url && strcmp(info.url, "http://a.example/other.asf") == 0);
    char expectedDest[MAX_PATH];
    snprintf(expectedDest, sizeof expectedDest, "%sclip1.asf", dir);
    CHECK(info.destFile && strcmp(info.destFile, expectedDest) == 0);
    CHECK(info.state == 1);
    CHECK(info.totalSize == 0);
    CHECK(info.logText == NULL);

    char dest[256];
    CHECK(BOOL_OF(call(m, SLOT_DEST, 2, ARGS(P(first), P(dest)), "GetItemDestFile")) == 1);
    CHECK(strstr(dest, "clip.asf") != NULL);
    call(m, SLOT_TAKE_CHANGED, 1, ARGS(P(first)), "TakeItemChanged");
    CHECK(BOOL_OF(call(m, SLOT_SET_URL, 3, ARGS(P(first), P("http://b.example/new.asf"), P(dest)), "SetItemUrl")) == 1);

    /* Settings through a temporary config.ini. */
    CHECK(call(m, SLOT_GET_MAX, 1, ARGS(P(ini)), "GetMaxThread") == 3);
    CHECK(call(m, SLOT_GET_TIMEOUT, 1, ARGS(P(ini)), "GetTimeOut") == 30);
    CHECK(BOOL_OF(call(m, SLOT_SAVE_MAX, 2, ARGS(P(ini), 6), "SaveMaxThread")) == 1);
    CHECK(call(m, SLOT_GET_MAX, 1, ARGS(P(ini)), "GetMaxThread") == 6);
    CHECK(BOOL_OF(call(m, SLOT_SET_TIMEOUT, 2, ARGS(P(ini), 45), "SetTimeOut")) == 1);
    CHECK(call(m, SLOT_GET_TIMEOUT, 1, ARGS(P(ini)), "GetTimeOut") == 45);
    CHECK(BOOL_OF(call(m, SLOT_SET_DEST_PATH, 2, ARGS(P(ini), P(tmpDir)), "SetDestPath")) == 1);
    char path[256] = "";
    CHECK(BOOL_OF(call(m, SLOT_GET_DEST_PATH, 2, ARGS(P(ini), P(path)), "GetDestPath")) == 1);
    CHECK(strcmp(path, tmpDir) == 0);
    CHECK(BOOL_OF(call(m, SLOT_SET_PROXY, 4, ARGS(P(ini), P("proxy.example"), P("3128x"), 1), "SetProxy")) == 1);
    char server[1024] = "", port[10] = "";
    uint8_t enabled = 0;
    CHECK(BOOL_OF(call(m, SLOT_GET_PROXY, 4, ARGS(P(ini), P(server), P(port), P(&enabled)), "GetProxy")) == 1);
    CHECK(strcmp(server, "proxy.example") == 0);
    CHECK(strcmp(port, "3128x") == 0);
    CHECK(enabled == 1);

    /* URL conveniences. */
    char name[511] = "";
    CHECK(BOOL_OF(call(m, SLOT_FILE_NAME, 2, ARGS(P("http://a.example/d/movie.wmv"), P(name)), "FileNameFromUrl")) == 1);
    CHECK(strcmp(name, "movie.wmv") == 0);
    CHECK(BOOL_OF(call(m, SLOT_FILE_NAME, 2, ARGS(P("http://a.example/d/"), P(name)), "FileNameFromUrl")) == 0);
    char login[1024] = "";
    call(m, SLOT_URL_LOGIN, 4, ARGS(P("http://a.example/x"), P("me"), P("pw"), P(login)), "UrlWithLogin");
    CHECK(strcmp(login, "http://me:pw@a.example/x") == 0);

    /* The list survives a save and a load into a second manager. */
    CHECK(BOOL_OF(call(m, SLOT_REMOVE, 1, ARGS(P(second)), "RemoveItem")) == 1);
    CHECK(BOOL_OF(call(m, SLOT_SAVE, 1, ARGS(P(ini)), "SaveProject")) == 1);
    void* loaded = make();
    CHECK(BOOL_OF(call(loaded, SLOT_LOAD, 1, ARGS(P(ini)), "LoadProject")) == 1);
    CHECK(call(loaded, SLOT_COUNT, 0, NULL, "GetCount") == 3);
    void* l0 = (void*)(uintptr_t)call(loaded, SLOT_FIRST, 0, NULL, "GetFirstItem");
    void* l1 = (void*)(uintptr_t)call(loaded, SLOT_NEXT, 1, ARGS(P(l0)), "GetNextItem");
    void* l2 = (void*)(uintptr_t)call(loaded, SLOT_NEXT, 1, ARGS(P(l1)), "GetNextItem");
    memset(&info, 0, sizeof info);
    call(loaded, SLOT_INFO, 2, ARGS(P(l1), P(&info)), "GetItemInfo");
    CHECK(info.url && strcmp(info.url, "http://b.example/new.asf") == 0);
    call(loaded, SLOT_INFO, 2, ARGS(P(l2), P(&info)), "GetItemInfo");
    CHECK(info.state == 6);
    CHECK(BOOL_OF(call(loaded, SLOT_REMOVE_ALL, 0, NULL, "RemoveAll")) == 1);
    CHECK(call(loaded, SLOT_COUNT, 0, NULL, "GetCount") == 0);
    call(loaded, SLOT_RELEASE, 0, NULL, "Release");

    /* Deleted twice: gone. */
    CHECK(BOOL_OF(call(m, SLOT_REMOVE, 1, ARGS(P(second)), "RemoveItem")) == 1);
    CHECK(call(m, SLOT_COUNT, 0, NULL, "GetCount") == 2);
    CHECK(BOOL_OF(call(m, SLOT_REMOVE, 1, ARGS(P(second)), "RemoveItem")) == 0);
    call(m, SLOT_RELEASE, 0, NULL, "Release");  /* stops the held download and waits for it */
    if (listener != INVALID_SOCKET) closesocket(listener);

    void* s1 = shared();
    CHECK(s1 != NULL && shared() == s1);

    /* The MMS chooser (SetUrl and Run one slot later than a downloader's) and MMS over TCP. */
    Factory makeChooser = (Factory)(void (*)(void))GetProcAddress(dll, "_NEW_DOWNMMSMNG@0");
    Factory makeTcp = (Factory)(void (*)(void))GetProcAddress(dll, "_NEW_DOWNMMS1755@0");
    CHECK(makeChooser != NULL && makeTcp != NULL);
    if (makeChooser && makeTcp) {
        void* chooser = makeChooser();
        CHECK(chooser != NULL);
        CHECK(BOOL_OF(call(chooser, SLOT_RETURN_TRUE, 0, NULL, "chooser ReturnTrue")) == 1);
        CHECK(call(chooser, 4, 2, ARGS(P("mms://a.example/x"), P("x.asf")), "chooser SetUrl") == 0);
        call(chooser, SLOT_RELEASE, 0, NULL, "chooser Release");
        void* tcp = makeTcp();
        CHECK(tcp != NULL);
        call(tcp, 3, 2, ARGS(P("mms://a.example/x"), P("x.asf")), "MMS 1755 SetUrl");
        CHECK(BOOL_OF(call(tcp, 24, 0, NULL, "MMS 1755 ReturnTrue")) == 1);
        call(tcp, SLOT_RELEASE, 0, NULL, "MMS 1755 Release");
    }

    /* The other downloaders: SetUrl, ReturnTrue and Release through each one's own table. */
    static const struct {
        const char* factory;
        const char* url;
        int setUrl;
        int returnTrue;
    } downloaders[] = {
        {"_NEW_DOWNHTTP@0", "http://a.example/x.bin", 3, 29},
        {"_NEW_DOWNRTSP80@0", "http://a.example/x.rm", 3, 29},
        {"_NEW_DOWNMMS80@0", "mms://a.example/x", 3, 29},
        {"_NEW_DOWNMMS554@0", "rtsp://a.example/x", 3, 25},
        {"_NEW_DOWNRTSP554@0", "rtsp://a.example/x.rm", 3, 25},
        {"_NEW_DOWNFTP@0", "ftp://a.example/x.bin", 5, 3},
    };
    for (size_t i = 0; i < sizeof downloaders / sizeof downloaders[0]; ++i) {
        Factory makeOne = (Factory)(void (*)(void))GetProcAddress(dll, downloaders[i].factory);
        CHECK(makeOne != NULL);
        if (!makeOne) continue;
        void* one = makeOne();
        CHECK(one != NULL);
        if (!one) continue;
        call(one, downloaders[i].setUrl, 2, ARGS(P(downloaders[i].url), P("x.out")), downloaders[i].factory);
        CHECK(BOOL_OF(call(one, downloaders[i].returnTrue, 0, NULL, downloaders[i].factory)) == 1);
        call(one, SLOT_RELEASE, 0, NULL, downloaders[i].factory);
    }

    DeleteFileA(ini);
    RemoveDirectoryA(dir);
    printf("%d checks, %d failed\n", checks, failures);
    return failures == 0 ? 0 : 1;
}
