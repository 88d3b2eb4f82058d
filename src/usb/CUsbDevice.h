// The device object: the link to the one device (its two pipes and its
// instance id), timed transfers over the pipes, the record/acknowledge exchange,
// the identity queries and, with its windows, the download.
#pragma once

#include "flash/DownloadReport.h"
#include "framework/AfxTypes.h"
#include "framework/CString.h"
#include "protocol/AckResult.h"
#include "ui/CFlashInfoDlg.h"
#include "usb/CUsbMessageWindow.h"

class CUsbDevice {
public:
    // Constructed closed: both pipes INVALID_HANDLE_VALUE, no instance id.
    CUsbDevice();
    // Closes the link.
    ~CUsbDevice();

    // Other objects keep plain pointers to the one device object.
    CUsbDevice(const CUsbDevice&) = delete;
    CUsbDevice& operator=(const CUsbDevice&) = delete;

    // ---- The link (usb/CUsbDevice.cpp).
    // Opens the first present device of the interface class on which both pipes
    // open. 0 on success; otherwise the system's error code (259 when no usable
    // device is present, 14 for an interface path longer than 500 characters).
    // Called while open (the arrival of a further device of the class), it
    // keeps the link while the device in use is still present, so that no
    // other device takes over a download in progress; otherwise it keeps the
    // old pipes until a device has been found and closes them before it
    // stores the new ones, and when none is found the old link stays as it
    // was. Never throws.
    int Open();
    // Opens the device at `interfacePath` (compared without regard to case)
    // and no other: 0, or the error of the search (259 when that device is
    // not present or its pipes do not open). Keeps an open link to that
    // device; any other link gives way only once the device has opened.
    int OpenDevice(const CString& interfacePath);
    // Closes the output pipe, then the input pipe, and empties the instance id.
    void Close();
    CString GetInstanceId() const;
    // The interface path of the open device; empty while the link is closed.
    CString GetInterfacePath() const { return m_strInterfacePath; }
    bool IsOpen() const;
    // Whether two interface paths name the same device: the system may
    // report one path in different cases.
    static bool SamePath(const CString& a, const CString& b);
    // The piece of an interface path between its second and third "#" (at most
    // 255 characters); empty when the path does not have that form.
    static CString ParseInstanceId(const CString& interfacePath);

    // ---- Timed transfers (usb/CUsbDeviceTransfer.cpp). One overlapped
    // transfer each, waited for at most kTransferTimeoutMs once pending.
    // Write returns the bytes written; throws CTreloxExceptionWrite or
    // CTreloxExceptionWriteTimeout (and CResourceException without an event).
    int Write(const char* bytes, int count);
    // Read returns the bytes delivered, 0 to `size`; throws
    // CTreloxExceptionRead or CTreloxExceptionReadTimeout.
    int Read(char* buffer, int size);

    // ---- Record exchange (protocol/CUsbDeviceCommands.cpp).
    // Writes the record's bytes in one write and returns its acknowledge.
    AckResult SendLine(const CString& line);
    // Reads one acknowledge; any reply but the three forms is a response error.
    AckResult ReadAcknowledge();

    // ---- Identity queries (protocol/CUsbDeviceQueries.cpp).
    // Sends "?" and `letter`; on a reply of 1 to 64 bytes stores it in `value`
    // and returns true. Shows every failure in a message box and returns false,
    // leaving `value` unchanged; throws nothing.
    bool QueryInfo(char letter, CString& value);

    // ---- Device notices (usb/CUsbDeviceNotices.cpp).
    // Creates the hidden window that hears the device's notices, unless it
    // exists; done once at start-up, before the device is opened.
    void CreateMessageWindow();
    bool HasMessageWindow() const { return m_wndMessage.GetSafeHwnd() != nullptr; }
    // Each notice names the interface path of the device it concerns; an
    // empty path names none in particular (the system lost count), and then
    // the device in use is looked for in the device list instead. Notices
    // about other devices of the class change nothing.
    //
    // A device arrived. While a device that reported the programming is
    // awaited, only its own return counts: the link reopens to that device
    // and, while the status window is shown, it says that the programming
    // has ended and, a second later, ends the window. Otherwise the link
    // opens to the first usable device, unless it is open already.
    void OnDeviceArrival(const CString& interfacePath);
    // The device in use (or the awaited device) left: closes the link; while
    // the status window is shown, says that the programming runs.
    void OnDeviceRemoval(const CString& interfacePath);
    // The device in use has reported the programming: until the download
    // ends, it is the device awaited, whichever others come and go.
    void AwaitReturn();

    // ---- The download of a flash file (flash/CUsbDeviceDownload.cpp). Shows
    // every outcome to the user itself; returns it, with the figures of the
    // transfer, for the caller's own account (the exit status).
    DownloadReport DownloadFlashFile(const char* flashFile);

private:
    // Open and OpenDevice: the first usable device, or only the one at
    // `*onlyPath` when it is given.
    int Search(const CString* onlyPath);
    // Whether the device list holds `interfacePath` now.
    static bool IsPresent(const CString& interfacePath);
    // Whether a notice that names `noticePath` concerns the device at
    // `devicePath`; a notice without a path concerns it when the list says
    // it is present (arrival) or gone (removal).
    static bool Concerns(const CString& noticePath, const CString& devicePath, bool arrival);

    HANDLE m_hReadPipe;
    HANDLE m_hWritePipe;
    CString m_strInstanceId;
    // The interface path of the open device; empty while the link is closed.
    CString m_strInterfacePath;
    // The device that reported the programming and is to come back; empty
    // outside that wait.
    CString m_strAwaitedPath;
    CUsbMessageWindow m_wndMessage;
    CFlashInfoDlg m_dlgFlashInfo;
};
