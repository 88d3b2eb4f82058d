// The identity queries of the device object: "?" and a letter, a text reply.
#include "usb/CUsbDevice.h"

#include "framework/AfxMessageBox.h"
#include "platform/CPlatform.h"
#include "protocol/CTreloxException.h"
#include "protocol/CTreloxExceptionWrite.h"
#include "usb/DeviceContract.h"

bool CUsbDevice::QueryInfo(char letter, CString& value)
{
    CString command;
    command.Format("?%c", letter);
    try {
        const int written = Write(command.GetString(), command.GetLength());
        if (written != kQueryCommandLength) {
            throw CTreloxExceptionWrite(kQueryCommandLength, written, Platform().GetLastError());
        }
        char reply[kQueryReplyBufferSize] = {};
        const int length = Read(reply, kQueryReplyBufferSize);
        if (length == 0) {
            return false;
        }
        // The text as it came: zero bytes and control characters included.
        value = CString(reply, length);
        return true;
    } catch (const CTreloxException& error) {
        AfxMessageBox(error.GetMessageText().GetString(), MB_OK, 0);
    } catch (...) {
        AfxMessageBox("Unbekannte Ausnahme", MB_OK, 0);
    }
    return false;
}
