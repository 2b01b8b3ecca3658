#include "app/workflow/ProcessPriority.h"

#include <gtest/gtest.h>

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
