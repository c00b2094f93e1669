/* Calls the manager of Fetchkeeper.dll the way a program built with another tool chain does: the
 * factory bound by name, every operation by its slot number in the raw table. In the 32-bit build the
 * arguments are pushed by hand, and after each call the stack pointer must be where it was (the callee
 * removes its arguments); the 64-bit build has one calling convention, so there only the slots and
 * their results are checked. */
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <winsock2.h>
#include <windows.h>

#include "slot_numbers.h"

#if defined(__i386__)
/* Pushes nargs 32-bit words (args[0] pushed last, so it is the first argument), then the object,
 * calls table slot `slot`, stores EAX in *result and returns how far ESP moved (0 when balanced). */
int raw_call(void* object, int slot, int nargs, const uintptr_t* args, uintptr_t* result);
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
#else
/* One calling convention: the table entry called with the object and its arguments in order. */
typedef uintptr_t (*Op0)(void*);
typedef uintptr_t (*Op1)(void*, uintptr_t);
typedef uintptr_t (*Op2)(void*, uintptr_t, uintptr_t);
typedef uintptr_t (*Op3)(void*, uintptr_t, uintptr_t, uintptr_t);
typedef uintptr_t (*Op4)(void*, uintptr_t, uintptr_t, uintptr_t, uintptr_t);

static int raw_call(void* object, int slot, int nargs, const uintptr_t* args, uintptr_t* result) {
    void (*const* table)(void) = *(void (*const* const*)(void))object;
    void (*op)(void) = table[slot];
    switch (nargs) {
    case 0: *result = ((Op0)op)(object); break;
    case 1: *result = ((Op1)op)(object, args[0]); break;
    case 2: *result = ((Op2)op)(object, args[0], args[1]); break;
    case 3: *result = ((Op3)op)(object, args[0], args[1], args[2]); break;
    case 4: *result = ((Op4)op)(object, args[0], args[1], args[2], args[3]); break;
    default: return -1;
    }
    return 0;
}
#endif

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
static uintptr_t call(void* object, int slot, int nargs, const uintptr_t* args, const char* what) {
    uintptr_t result = 0;
    int moved = raw_call(object, slot, nargs, args, &result);
    ++checks;
    if (moved != 0) {
        ++failures;
        fprintf(stderr, "slot %d (%s): stack moved by %d bytes\n", slot, what, moved);
    }
    return result;
}

#define ARGS(...) ((const uintptr_t[]){__VA_ARGS__})
#define P(x) ((uintptr_t)(x))
/* A boolean is the low byte of the result, a count its low 32 bits. */
#define BOOL_OF(v) ((uint8_t)((v) & 0xFF))
#define INT_OF(v) ((int32_t)(uint32_t)(v))

#define SLOT_ENUM(op, n) SLOT_##op = n,
enum { FK_MANAGER_SLOTS(SLOT_ENUM) };

typedef struct {
    const char* url;
    const char* destFile;
    int32_t state;
    int32_t totalSize;
    int32_t downloaded;
    const char* logText;
    uint32_t logLength;
} Info;

#if defined(__i386__)
/* The probe itself must notice a callee that leaves its arguments on the stack. */
static uint32_t __cdecl leaves_arguments(void* self, uint32_t x) { (void)self; return x + 1; }
static void* const cdecl_table[] = {(void*)leaves_arguments};

static void check_the_probe(void) {
    const void* object = cdecl_table;
    const void* const* fake = (const void* const*)&object;
    uintptr_t result = 0;
    int moved = raw_call((void*)fake, 0, 1, ARGS(41), &result);
    CHECK(result == 42);
    CHECK(moved == -8);
}
#else
static void check_the_probe(void) {}
#endif

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
    if (other) call(other, SLOT_Release, 0, NULL, "Release");

    char dir[MAX_PATH], ini[MAX_PATH], tmpDir[MAX_PATH];
    GetTempPathA(sizeof tmpDir, tmpDir);
    snprintf(dir, sizeof dir, "%sfk-slot-%lu\\", tmpDir, (unsigned long)GetCurrentProcessId());
    CreateDirectoryA(dir, NULL);
    snprintf(ini, sizeof ini, "%sconfig.ini", dir);
    DeleteFileA(ini);

    CHECK(BOOL_OF(call(m, SLOT_ReturnTrue, 0, NULL, "ReturnTrue")) == 1);
    call(m, SLOT_SetMaxThread, 1, ARGS(1), "SetMaxThread");
    CHECK(INT_OF(call(m, SLOT_GetCount, 0, NULL, "GetCount")) == 0);
    CHECK(call(m, SLOT_GetFirstItem, 0, NULL, "GetFirstItem") == 0);

    SOCKET listener = INVALID_SOCKET;
    const int holdPort = silent_listener(&listener);
    CHECK(holdPort != 0);
    char holdUrl[64];
    snprintf(holdUrl, sizeof holdUrl, "http://127.0.0.1:%d/hold.bin", holdPort);
    CHECK(BOOL_OF(call(m, SLOT_AddItem, 3, ARGS(P(holdUrl), P(dir), P("hold.bin")), "AddItem")) == 1);
    void* hold = (void*)call(m, SLOT_GetFirstItem, 0, NULL, "GetFirstItem");
    /* Once connected, the held run no longer reads the proxy that is set further down. */
    Info held;
    int connected = 0;
    for (int tries = 0; tries < 500 && !connected; ++tries) {
        memset(&held, 0, sizeof held);
        call(m, SLOT_GetItemInfo, 2, ARGS(P(hold), P(&held)), "GetItemInfo");
        connected = held.logText && strstr(held.logText, "Connect to server success") != NULL;
        if (!connected) Sleep(20);
    }
    CHECK(connected);
    CHECK(held.state == 2);

    CHECK(BOOL_OF(call(m, SLOT_AddItem, 3, ARGS(P("http://a.example/clip.asf"), P(dir), P("clip.asf")), "AddItem")) == 1);
    CHECK(BOOL_OF(call(m, SLOT_AddItem, 3, ARGS(P("http://a.example/other.asf"), P(dir), P("clip.asf")), "AddItem")) == 1);
    CHECK(BOOL_OF(call(m, SLOT_AddItem, 3, ARGS(P("HTTP://A.EXAMPLE/CLIP.ASF"), P(dir), P("x.asf")), "AddItem")) == 1);
    CHECK(INT_OF(call(m, SLOT_GetCount, 0, NULL, "GetCount")) == 3);

    void* first = (void*)call(m, SLOT_GetNextItem, 1, ARGS(P(hold)), "GetNextItem");
    void* second = (void*)call(m, SLOT_GetNextItem, 1, ARGS(P(first)), "GetNextItem");
    CHECK(first != NULL && second != NULL && first != second);
    CHECK(call(m, SLOT_GetNextItem, 1, ARGS(P(second)), "GetNextItem") == 0);

    Info info;
    memset(&info, 0, sizeof info);
    CHECK(BOOL_OF(call(m, SLOT_GetItemInfo, 2, ARGS(P(second), P(&info)), "GetItemInfo")) == 1);
    CHECK(info.url && strcmp(info.url, "http://a.example/other.asf") == 0);
    char expectedDest[MAX_PATH];
    snprintf(expectedDest, sizeof expectedDest, "%sclip1.asf", dir);
    CHECK(info.destFile && strcmp(info.destFile, expectedDest) == 0);
    CHECK(info.state == 1);
    CHECK(info.totalSize == 0);
    CHECK(info.logText == NULL);

    char dest[256];
    CHECK(BOOL_OF(call(m, SLOT_GetItemDestFile, 2, ARGS(P(first), P(dest)), "GetItemDestFile")) == 1);
    CHECK(strstr(dest, "clip.asf") != NULL);
    call(m, SLOT_TakeItemChanged, 1, ARGS(P(first)), "TakeItemChanged");
    CHECK(BOOL_OF(call(m, SLOT_SetItemUrl, 3, ARGS(P(first), P("http://b.example/new.asf"), P(dest)), "SetItemUrl")) == 1);

    /* Settings through a temporary config.ini. */
    CHECK(INT_OF(call(m, SLOT_GetMaxThread, 1, ARGS(P(ini)), "GetMaxThread")) == 3);
    CHECK(INT_OF(call(m, SLOT_GetTimeOut, 1, ARGS(P(ini)), "GetTimeOut")) == 30);
    CHECK(BOOL_OF(call(m, SLOT_SaveMaxThread, 2, ARGS(P(ini), 6), "SaveMaxThread")) == 1);
    CHECK(INT_OF(call(m, SLOT_GetMaxThread, 1, ARGS(P(ini)), "GetMaxThread")) == 6);
    CHECK(BOOL_OF(call(m, SLOT_SetTimeOut, 2, ARGS(P(ini), 45), "SetTimeOut")) == 1);
    CHECK(INT_OF(call(m, SLOT_GetTimeOut, 1, ARGS(P(ini)), "GetTimeOut")) == 45);
    CHECK(BOOL_OF(call(m, SLOT_SetDestPath, 2, ARGS(P(ini), P(tmpDir)), "SetDestPath")) == 1);
    char path[256] = "";
    CHECK(BOOL_OF(call(m, SLOT_GetDestPath, 2, ARGS(P(ini), P(path)), "GetDestPath")) == 1);
    CHECK(strcmp(path, tmpDir) == 0);
    CHECK(BOOL_OF(call(m, SLOT_SetProxy, 4, ARGS(P(ini), P("proxy.example"), P("3128x"), 1), "SetProxy")) == 1);
    char server[1024] = "", port[10] = "";
    uint8_t enabled = 0;
    CHECK(BOOL_OF(call(m, SLOT_GetProxy, 4, ARGS(P(ini), P(server), P(port), P(&enabled)), "GetProxy")) == 1);
    CHECK(strcmp(server, "proxy.example") == 0);
    CHECK(strcmp(port, "3128x") == 0);
    CHECK(enabled == 1);

    /* URL conveniences. */
    char name[511] = "";
    CHECK(BOOL_OF(call(m, SLOT_FileNameFromUrl, 2, ARGS(P("http://a.example/d/movie.wmv"), P(name)), "FileNameFromUrl")) == 1);
    CHECK(strcmp(name, "movie.wmv") == 0);
    CHECK(BOOL_OF(call(m, SLOT_FileNameFromUrl, 2, ARGS(P("http://a.example/d/"), P(name)), "FileNameFromUrl")) == 0);
    char login[1024] = "";
    call(m, SLOT_UrlWithLogin, 4, ARGS(P("http://a.example/x"), P("me"), P("pw"), P(login)), "UrlWithLogin");
    CHECK(strcmp(login, "http://me:pw@a.example/x") == 0);

    /* The list survives a save and a load into a second manager. */
    CHECK(BOOL_OF(call(m, SLOT_RemoveItem, 1, ARGS(P(second)), "RemoveItem")) == 1);
    CHECK(BOOL_OF(call(m, SLOT_SaveProject, 1, ARGS(P(ini)), "SaveProject")) == 1);
    void* loaded = make();
    CHECK(BOOL_OF(call(loaded, SLOT_LoadProject, 1, ARGS(P(ini)), "LoadProject")) == 1);
    CHECK(INT_OF(call(loaded, SLOT_GetCount, 0, NULL, "GetCount")) == 3);
    void* l0 = (void*)call(loaded, SLOT_GetFirstItem, 0, NULL, "GetFirstItem");
    void* l1 = (void*)call(loaded, SLOT_GetNextItem, 1, ARGS(P(l0)), "GetNextItem");
    void* l2 = (void*)call(loaded, SLOT_GetNextItem, 1, ARGS(P(l1)), "GetNextItem");
    memset(&info, 0, sizeof info);
    call(loaded, SLOT_GetItemInfo, 2, ARGS(P(l1), P(&info)), "GetItemInfo");
    CHECK(info.url && strcmp(info.url, "http://b.example/new.asf") == 0);
    call(loaded, SLOT_GetItemInfo, 2, ARGS(P(l2), P(&info)), "GetItemInfo");
    CHECK(info.state == 6);
    CHECK(BOOL_OF(call(loaded, SLOT_RemoveAll, 0, NULL, "RemoveAll")) == 1);
    CHECK(INT_OF(call(loaded, SLOT_GetCount, 0, NULL, "GetCount")) == 0);
    call(loaded, SLOT_Release, 0, NULL, "Release");

    /* Deleted twice: gone. */
    CHECK(BOOL_OF(call(m, SLOT_RemoveItem, 1, ARGS(P(second)), "RemoveItem")) == 1);
    CHECK(INT_OF(call(m, SLOT_GetCount, 0, NULL, "GetCount")) == 2);
    CHECK(BOOL_OF(call(m, SLOT_RemoveItem, 1, ARGS(P(second)), "RemoveItem")) == 0);
    call(m, SLOT_Release, 0, NULL, "Release");  /* stops the held download and waits for it */
    if (listener != INVALID_SOCKET) closesocket(listener);

    void* s1 = shared();
    CHECK(s1 != NULL && shared() == s1);

    /* The MMS chooser, its SetUrl one slot later than a downloader's. */
    Factory makeChooser = (Factory)(void (*)(void))GetProcAddress(dll, "_NEW_DOWNMMSMNG@0");
    CHECK(makeChooser != NULL);
    if (makeChooser) {
        void* chooser = makeChooser();
        CHECK(chooser != NULL);
        CHECK(BOOL_OF(call(chooser, FK_CHOOSER_SLOT_RETURN_TRUE, 0, NULL, "chooser ReturnTrue")) == 1);
        CHECK(INT_OF(call(chooser, FK_CHOOSER_SLOT_SET_URL, 2, ARGS(P("mms://a.example/x"), P("x.asf")), "chooser SetUrl")) == 0);
        call(chooser, SLOT_Release, 0, NULL, "chooser Release");
    }

    /* The downloaders: SetUrl, an operation that answers true, and Release through each one's own table. */
    static const struct {
        const char* factory;
        const char* url;
        int setUrl;
        int answersTrue;
    } downloaders[] = {
#define DOWNLOADER_ROW(name, cls, url, setOp, setSlot, trueOp, trueSlot) {"_NEW_" #name "@0", url, setSlot, trueSlot},
        FK_DOWNLOADER_CALLS(DOWNLOADER_ROW)
    };
    for (size_t i = 0; i < sizeof downloaders / sizeof downloaders[0]; ++i) {
        Factory makeOne = (Factory)(void (*)(void))GetProcAddress(dll, downloaders[i].factory);
        CHECK(makeOne != NULL);
        if (!makeOne) continue;
        void* one = makeOne();
        CHECK(one != NULL);
        if (!one) continue;
        call(one, downloaders[i].setUrl, 2, ARGS(P(downloaders[i].url), P("x.out")), downloaders[i].factory);
        CHECK(BOOL_OF(call(one, downloaders[i].answersTrue, 0, NULL, downloaders[i].factory)) == 1);
        call(one, SLOT_Release, 0, NULL, downloaders[i].factory);
    }

    DeleteFileA(ini);
    RemoveDirectoryA(dir);
    printf("%d checks, %d failed\n", checks, failures);
    return failures == 0 ? 0 : 1;
}
