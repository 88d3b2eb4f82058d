// The one closing line of a direct download: records and bytes the device
// took, the time the transfer took and its rate.
#pragma once

#include "flash/DownloadReport.h"
#include "framework/CString.h"

// The records and bytes the device took, the seconds to the millisecond (with
// a decimal comma), and bytes and records per second; without a measurable
// time the rate is left out.
CString DownloadSummaryLine(const DownloadReport& report);
