// The closing line of a direct download.
#include "app/DownloadSummary.h"

CString DownloadSummaryLine(const DownloadReport& report)
{
    CString line;
    line.Format("Download: %lld Datens\xE4tze \xFC" "bertragen, %llu Bytes in %lu,%03lu s",
                static_cast<long long>(report.recordsTaken), static_cast<unsigned long long>(report.bytesTaken),
                static_cast<unsigned long>(report.transferMs / 1000),
                static_cast<unsigned long>(report.transferMs % 1000));
    if (report.transferMs == 0) {
        return line;
    }
    CString rate;
    rate.Format(" (%llu Bytes/s, %llu Datens\xE4tze/s)",
                static_cast<unsigned long long>(report.bytesTaken * 1000 / report.transferMs),
                static_cast<unsigned long long>(static_cast<unsigned long long>(report.recordsTaken) * 1000 /
                                                report.transferMs));
    line += rate;
    return line;
}
