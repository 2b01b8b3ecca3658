#include "app/workflow/ProcessPriority.h"

#ifdef _WIN32
#include <windows.h>

TPriorityClass SetIdlePriority(bool lower)
{
  if (!lower)
    return 0;
  const DWORD previous = GetPriorityClass(GetCurrentProcess());
  if (previous != 0)
    SetPriorityClass(GetCurrentProcess(), IDLE_PRIORITY_CLASS);
  return previous;
}

void RestorePriority(TPriorityClass previous)
{
  if (previous != 0)
    SetPriorityClass(GetCurrentProcess(), previous);
}

#else

TPriorityClass SetIdlePriority(bool)
{
  return 0;
}

void RestorePriority(TPriorityClass)
{
}

#endif
