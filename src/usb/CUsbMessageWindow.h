// The hidden window that hears the device's arrival and removal: it registers
// for notices of the device interface class and hands each one of that class,
// with the interface path it names, to the device object, which decides
// whether it concerns the device in use.
#pragma once

#include "framework/CWnd.h"

class CUsbDevice;

class CUsbMessageWindow : public CWnd {
public:
    CUsbMessageWindow();
    // Gives up the registration: the window goes with the object.
    ~CUsbMessageWindow() override;

    // Creates the never-visible window for `device`, which then receives the
    // notices. FALSE when the window could not be made; the program then runs
    // without notices.
    BOOL CreateFor(CUsbDevice* device);

    // NULL while the window is not registered for notices.
    HANDLE m_hDevNotify;
    // The device object that receives the notices; set before creation.
    CUsbDevice* m_pDevice;

protected:
    int OnCreate(AfxCreateStruct* createStruct);
    void OnDestroy();
    BOOL OnDeviceChange(UINT eventType, DWORD_PTR data);

    DECLARE_MESSAGE_MAP()
    DECLARE_DYNAMIC(CUsbMessageWindow)
};
