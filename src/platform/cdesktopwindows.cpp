#include "platform/cdesktopwindows.h"

#include "platform/cwinprocess.h"

bool CDesktopWindows::ProcessRunning(uint32_t processId) const
{
    return CWinProcess::IsRunning(processId);
}

uint32_t CDesktopWindows::OwnProcess() const
{
    return CWinProcess::Own();
}
