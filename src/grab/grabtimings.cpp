#include "grab/grabtimings.h"

namespace {

TGrabTimings current;

}  // namespace

const TGrabTimings& GrabTimings()
{
    return current;
}

void SetGrabTimingsForTest(const TGrabTimings& timings)
{
    current = timings;
}

void ResetGrabTimings()
{
    current = TGrabTimings();
}
