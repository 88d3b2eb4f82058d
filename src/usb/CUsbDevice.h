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
    // Closes the output pipe, then the input pipe, and empties the instance id.
    void Close();
    CString GetInstanceId() const;
    bool IsOpen() const;
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
    // Reopens the link; while the status window is shown, says that the
    // programming has ended and, a second later, ends the window.
    void OnDeviceArrival();
    // Closes the link; while the status window is shown, says that the
    // programming runs.
    void OnDeviceRemoval();

    // ---- The download of a flash file (flash/CUsbDeviceDownload.cpp). Shows
    // every outcome to the user itself; returns it, with the figures of the
    // transfer, for the caller's own account (the exit status).
    DownloadReport DownloadFlashFile(const char* flashFile);

private:
    HANDLE m_hReadPipe;
    HANDLE m_hWritePipe;
    CString m_strInstanceId;
    // The interface path of the open device; empty while the link is closed.
    CString m_strInterfacePath;
    CUsbMessageWindow m_wndMessage;
    CFlashInfoDlg m_dlgFlashInfo;
};
