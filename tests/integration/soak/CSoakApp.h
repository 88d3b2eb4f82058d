// The soak driver: one process that runs the program's download and identity
// query over and over against one device, the way a long service session
// would, and compares its open descriptors and resident memory at the start
// and at the end.
//
//   trelox_soak SMALL-FILE PROGRAMMED-FILE DOWNLOADS QUERIES
//
// SMALL-FILE is downloaded DOWNLOADS times; every 200th download uses
// PROGRAMMED-FILE instead, whose end record takes the device through its
// programming phase and back. Then QUERIES identity queries. Figures go to
// standard error; progress and message boxes to standard output. Exit status
// 0 when every download and query ended as expected and neither descriptors
// nor memory grew.
#pragma once

#include "framework/CWinApp.h"
#include "usb/CUsbDevice.h"

class CSoakApp : public CWinApp {
public:
    CSoakApp();
    BOOL InitInstance() override;

    // The driver's own arguments, handed over by main().
    static void SetArguments(int argc, char* argv[]);

    CUsbDevice m_device;

private:
    struct Sample {
        int descriptors;
        long residentKiB;
    };
    static Sample Take();

    // The downloads from `first` to `last` (exclusive); failures counted.
    void Download(int first, int last);
    void Query(int count);

    static int s_argc;
    static char** s_argv;
    const char* m_pszSmallFile = nullptr;
    const char* m_pszProgrammedFile = nullptr;
    int m_nFailures = 0;
};
