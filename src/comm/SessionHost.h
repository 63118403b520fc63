#pragma once
// ISessionHost: what a projector session needs from whoever runs it: somewhere
// to post its messages and the next local port of the client data port range.
// The engine hosts its sessions; CDirectSession hosts a lone one. The host
// outlives the sessions it hosts.
#include "platform/MsgWnd.h"

class ISessionHost {
public:
    virtual ~ISessionHost() = default;
    // Posts a session message (WM_COMM_*). Any thread; never waits for the receiver.
    virtual void PostSessionMessage(unsigned msg, WPARAM wParam, LPARAM lParam) = 0;
    // The next local port after port, or 0 when no range is set. Any thread.
    virtual int NextLocalPort(int port) const = 0;
};
