#include "app/workflow/ProcessPriority.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

TEST(ProcessPriority, IdleWhileDecodingThenTheOldClassAgain)
{
  const DWORD before = GetPriorityClass(GetCurrentProcess());
  {
    const TIdlePriorityScope idle;
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(IDLE_PRIORITY_CLASS));
  }
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), before);
  EXPECT_EQ(SetIdlePriority(false), 0u);
}

#else
#include <cerrno>
#include <sys/resource.h>

// Raising the niceness again needs privileges an ordinary user lacks, so the
// process must never be lowered in the first place.
TEST(ProcessPriority, NeverLowersWhatCannotBeRaisedAgain)
{
  errno = 0;
  const int before = getpriority(PRIO_PROCESS, 0);
  ASSERT_EQ(errno, 0);
  {
    const TIdlePriorityScope idle;
    EXPECT_EQ(getpriority(PRIO_PROCESS, 0), before);
  }
  EXPECT_EQ(SetIdlePriority(true), 0u);
  EXPECT_EQ(getpriority(PRIO_PROCESS, 0), before);
}
#endif
