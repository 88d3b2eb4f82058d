// A scripted platform for the tests: a device list, pipes whose transfers
// follow a script, named mutexes, flash files in memory, device notices and a
// virtual clock. Nothing blocks and nothing sleeps: a wait that times out, a
// pending transfer that completes and Sleep all move the virtual clock.
// Install() puts it in place of the build's platform until it is destroyed.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/CPlatform.h"
#include "support/FakeTransfer.h"

class FakePlatform : public CPlatform {
public:
    // The error codes the fake reports, as the system names them.
    static constexpr DWORD kErrorFileNotFound = 2;
    static constexpr DWORD kErrorAccessDenied = 5;
    static constexpr DWORD kErrorInvalidHandle = 6;
    static constexpr DWORD kErrorReadFault = 30;
    static constexpr DWORD kErrorDeviceGone = 31;  // ERROR_GEN_FAILURE
    static constexpr DWORD kErrorSharingViolation = 32;
    static constexpr DWORD kErrorInvalidParameter = 87;
    static constexpr DWORD kErrorNotOwner = 288;
    static constexpr DWORD kErrorAlreadyExists = 183;
    static constexpr DWORD kInfinite = 0xFFFFFFFF;

    enum class HandleKind { DeviceList, Pipe, Event, Mutex, File, Registration };

    struct PipeOpenCall {
        std::string path;
        PipeAccess access;
        bool opened;
    };

    FakePlatform();
    ~FakePlatform() override;
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    // Puts this fake in place of the platform in use; destroying it puts that
    // one back (install and destroy fakes in nested order).
    void Install();

    // The pipe paths of an interface path.
    static std::string WritePipeOf(const std::string& interfacePath);
    static std::string ReadPipeOf(const std::string& interfacePath);

    // ---- Virtual clock.
    void SetTickCount(DWORD now);
    void AdvanceClock(DWORD milliseconds);
    const std::vector<DWORD>& EventWaits() const { return m_eventWaits; }  // time-outs given
    const std::vector<DWORD>& MutexWaits() const { return m_mutexWaits; }
    const std::vector<DWORD>& Sleeps() const { return m_sleeps; }

    // ---- Device list, in the order added.
    void AddDevice(const std::string& interfacePath);
    // Adds it in front of every device listed so far.
    void AddDeviceFirst(const std::string& interfacePath);
    // Adds it and queues an arrival notice.
    void ArriveDevice(const std::string& interfacePath);
    // Takes it off the list, fails its open pipes (pending transfers complete
    // with kErrorDeviceGone, new ones are refused with it) and queues a removal.
    void RemoveDevice(const std::string& interfacePath);
    void FailDeviceList(DWORD error);
    void FailEnumerationAt(DWORD index, DWORD error);
    void FailPathAt(DWORD index, DWORD error);

    // ---- Pipes: opening a pipe of a listed device succeeds with the access
    // of its suffix, unless refused here (by pipe path).
    void RefusePipe(const std::string& pipePath, DWORD error);
    const std::vector<PipeOpenCall>& PipeOpens() const { return m_pipeOpens; }

    // ---- Transfers, scripted per interface path, taken in order. An empty
    // write script completes every write at once; an empty read script leaves
    // every read pending for ever (a device that does not answer).
    void ScriptWrite(const std::string& interfacePath, const FakeTransfer& transfer);
    void ScriptRead(const std::string& interfacePath, const FakeTransfer& transfer);
    // The bytes of every write submitted to the device, in order.
    std::vector<std::string> Writes(const std::string& interfacePath) const;
    // The buffer size of every read submitted to the device, in order.
    std::vector<DWORD> ReadSizes(const std::string& interfacePath) const;
    int TransfersInFlight() const { return static_cast<int>(m_transfers.size()); }
    int Cancels() const { return m_cancels; }
    // A transfer whose event was closed while it was still pending: its
    // completion would have touched released storage.
    int EventsClosedWhilePending() const { return m_eventsClosedWhilePending; }
    void FailEventCreation(bool fail) { m_failEvents = fail; }
    int EventsCreated() const { return m_eventsCreated; }
    int EventsClosed() const { return m_eventsClosed; }

    // ---- Handles of every kind this fake gave out.
    int OpenHandles() const { return static_cast<int>(m_handles.size()); }
    int OpenHandles(HandleKind kind) const;
    // Closes of handles that were not open (double closes included).
    int BadCloses() const { return m_badCloses; }

    // ---- Named mutexes.
    void HoldMutexElsewhere(const std::string& name, bool held = true);
    // Its holder elsewhere ended without releasing it.
    void AbandonMutex(const std::string& name);
    void RefuseMutexName(const std::string& name, DWORD error = kErrorAccessDenied);
    bool IsMutexHeldHere(const std::string& name) const;
    int OpenMutexHandles(const std::string& name) const;
    const std::vector<std::string>& MutexesCreated() const { return m_mutexNames; }

    // ---- Device notices for registered windows.
    void FailNoticeRegistration(bool fail) { m_failRegistration = fail; }
    int Registrations() const { return OpenHandles(HandleKind::Registration); }
    const DevBroadcastDeviceInterface& LastFilter() const { return m_lastFilter; }
    // A notice of the device class for every registered window whose filter
    // asks for that class.
    void QueueDeviceNotice(UINT eventType, const std::string& interfacePath);
    void QueueNotice(const DeviceNotice& notice);
    int QueuedNotices() const { return static_cast<int>(m_notices.size()); }

    // ---- Flash files in memory.
    void AddFile(const std::string& path, const std::string& bytes);
    void RefuseFileOpen(const std::string& path, DWORD error = kErrorSharingViolation);
    // Reads deliver the first `bytes` bytes, then fail with kErrorReadFault.
    void FailFileReadAfter(const std::string& path, std::size_t bytes);
    void ReportFileSizeZero(const std::string& path);
    bool IsFileOpen(const std::string& path) const;

    // ---- The program's executable: by default the fake cannot tell it.
    void SetModuleFileName(const std::string& path);

    // ---- CPlatform.
    DWORD GetLastError() override { return m_lastError; }
    void SetLastError(DWORD error) override { m_lastError = error; }
    HANDLE GetClassDevs(const DeviceClassGuid& interfaceClass) override;
    BOOL EnumDeviceInterface(HANDLE list, const DeviceClassGuid& interfaceClass, DWORD index) override;
    BOOL GetDeviceInterfacePath(HANDLE list, DWORD index, char* path, DWORD recordSize,
                                DWORD* requiredSize) override;
    void DestroyDeviceInfoList(HANDLE list) override;
    HANDLE OpenPipe(const char* pipePath, PipeAccess access) override;
    BOOL CloseHandle(HANDLE handle) override;
    HANDLE CreateEvent() override;
    BOOL WriteFile(HANDLE pipe, const void* bytes, DWORD count, DWORD* transferred, Overlapped* overlapped) override;
    BOOL ReadFile(HANDLE pipe, void* buffer, DWORD size, DWORD* transferred, Overlapped* overlapped) override;
    DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) override;
    BOOL GetOverlappedResult(HANDLE pipe, Overlapped* overlapped, DWORD* transferred, BOOL wait) override;
    void CancelTransfer(HANDLE pipe, Overlapped* overlapped) override;
    HANDLE CreateMutex(const char* name) override;
    BOOL ReleaseMutex(HANDLE mutex) override;
    HANDLE OpenFileExclusive(const char* path) override;
    BOOL ReadFileBytes(HANDLE file, void* buffer, DWORD size, DWORD* read) override;
    BOOL GetFileSize(HANDLE file, std::uint64_t* size) override;
    DWORD GetTickCount() override { return static_cast<DWORD>(m_nowMs); }
    void Sleep(DWORD milliseconds) override;
    HANDLE RegisterDeviceNotification(WindowHandle window, const DevBroadcastDeviceInterface& filter) override;
    BOOL UnregisterDeviceNotification(HANDLE registration) override;
    int DeviceNoticeDescriptor() override { return -1; }
    bool TakeDeviceNotice(DeviceNotice* notice) override;
    bool GetModuleFileName(std::string* path) override;

private:
    struct HandleEntry {
        explicit HandleEntry(HandleKind handleKind) : kind(handleKind) {}
        HandleKind kind;
        std::string name;  // pipe path, mutex name, file path
        std::string device;  // the interface path of a pipe
        PipeAccess access = PipeAccess::Write;
        bool dead = false;  // a pipe whose device has gone
        std::size_t position = 0;  // a file's read position
        std::vector<std::string> devices;  // a device list's snapshot
        WindowHandle window = nullptr;  // a registration's window
        DeviceClassGuid filterClass = {};
    };
    struct Transfer {
        HANDLE pipe;
        HANDLE event;
        Overlapped* overlapped;
        void* buffer;
        DWORD size;
        bool isRead;
        FakeTransfer script;
        std::uint64_t startedAt;
        bool completed = false;
        BOOL succeeded = FALSE;
        DWORD count = 0;
        DWORD error = 0;
    };
    struct NamedMutex {
        int heldHere = 0;
        bool heldElsewhere = false;
        bool abandoned = false;
        bool refused = false;
        DWORD refuseError = 0;
    };
    struct MemoryFile {
        std::string bytes;
        bool refused = false;
        DWORD refuseError = 0;
        bool failsAfter = false;
        std::size_t failAfter = 0;
        bool sizeZero = false;
    };

    HANDLE NewHandle(const HandleEntry& entry);
    HandleEntry* Find(HANDLE handle, HandleKind kind);
    const HandleEntry* Find(HANDLE handle, HandleKind kind) const;
    BOOL Fail(DWORD error);
    BOOL StartTransfer(HANDLE pipe, bool isRead, void* buffer, DWORD size, DWORD* transferred,
                       Overlapped* overlapped);
    void Complete(Transfer& transfer);
    void CompleteDueTransfers();
    bool IsDue(const Transfer& transfer) const;
    Transfer* FindTransfer(const Overlapped* overlapped);
    DWORD WaitForEvent(HANDLE event, DWORD milliseconds);
    DWORD WaitForMutex(HANDLE mutex, DWORD milliseconds);
    void Advance(DWORD milliseconds);

    bool m_installed = false;
    CPlatform* m_previous = nullptr;
    DWORD m_lastError = 0;
    std::uint64_t m_nowMs = 1000;
    std::uintptr_t m_nextHandle = 0x1000;
    std::map<HANDLE, HandleEntry> m_handles;
    int m_badCloses = 0;

    std::vector<std::string> m_devices;
    bool m_failList = false;
    DWORD m_listError = 0;
    std::map<DWORD, DWORD> m_enumerationFailures;
    std::map<DWORD, DWORD> m_pathFailures;

    std::map<std::string, DWORD> m_refusedPipes;
    std::vector<PipeOpenCall> m_pipeOpens;
    std::map<std::string, std::deque<FakeTransfer>> m_scripts;  // by pipe path
    std::map<std::string, std::vector<std::string>> m_writes;   // by interface path
    std::map<std::string, std::vector<DWORD>> m_readSizes;      // by interface path
    std::vector<Transfer> m_transfers;
    int m_cancels = 0;
    int m_eventsClosedWhilePending = 0;
    bool m_failEvents = false;
    int m_eventsCreated = 0;
    int m_eventsClosed = 0;
    std::vector<DWORD> m_eventWaits;
    std::vector<DWORD> m_mutexWaits;
    std::vector<DWORD> m_sleeps;

    bool m_knowsModuleFileName = false;
    std::string m_moduleFileName;

    std::map<std::string, NamedMutex> m_mutexes;
    std::vector<std::string> m_mutexNames;

    bool m_failRegistration = false;
    DevBroadcastDeviceInterface m_lastFilter = {};
    std::deque<DeviceNotice> m_notices;

    std::map<std::string, MemoryFile> m_files;
};
