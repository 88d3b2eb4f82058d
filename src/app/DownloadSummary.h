// The one closing line of a direct download: records and bytes the device
// took, the time the transfer took and its rate.
#pragma once

#include "flash/DownloadReport.h"
#include "framework/CString.h"

// "Download: 42 Datensätze übertragen, 1234 Bytes in 0,840 s (1469 Bytes/s,
// 50 Datensätze/s)"; without a measurable time the rate is left out.
CString DownloadSummaryLine(const DownloadReport& report);
