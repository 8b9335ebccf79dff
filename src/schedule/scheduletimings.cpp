#include "schedule/scheduletimings.h"

namespace {

TScheduleTimings current;

}  // namespace

const TScheduleTimings& ScheduleTimings()
{
    return current;
}

void SetScheduleTimingsForTest(const TScheduleTimings& timings)
{
    current = timings;
}

void ResetScheduleTimings()
{
    current = TScheduleTimings();
}
