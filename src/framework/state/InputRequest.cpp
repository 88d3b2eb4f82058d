// The requests of the user's input, one maker for each kind.
#include "framework/state/InputRequest.h"

namespace {
InputRequest Request(InputRequest::Kind kind, WindowHandle window)
{
    InputRequest request;
    request.kind = kind;
    request.window = window;
    return request;
}
}  // namespace

InputRequest InputRequest::PressButton(WindowHandle dialog, int id)
{
    InputRequest request = Request(Kind::PressButton, dialog);
    request.id = id;
    return request;
}

InputRequest InputRequest::Key(WindowHandle dialog, DialogKey key)
{
    InputRequest request = Request(Kind::Key, dialog);
    request.key = key;
    return request;
}

InputRequest InputRequest::Focus(WindowHandle control)
{
    return Request(Kind::Focus, control);
}

InputRequest InputRequest::Type(WindowHandle edit, const CString& text)
{
    InputRequest request = Request(Kind::Type, edit);
    request.text = text;
    return request;
}

InputRequest InputRequest::SystemCommand(WindowHandle window, UINT command)
{
    InputRequest request = Request(Kind::SystemCommand, window);
    request.command = command;
    return request;
}
