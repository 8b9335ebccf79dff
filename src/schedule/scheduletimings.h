#pragma once

// The scheduler's and the dial-up control's waits, in milliseconds. The program's values
// are the defaults; tests shorten them with SetScheduleTimingsForTest and put them back
// with ResetScheduleTimings.
struct TScheduleTimings {
    int stationWaitMs = 3000;    // between looks for a missing station.db at start
    int idlePollMs = 5000;       // between polls that found nothing due
    int dialRetryMs = 1000;      // after a failed dial attempt
    int hangUpSettleMs = 3000;   // after the hang-up at the end of a run
    int answerPollMs = 5;        // between reads of the dial program's answer
    int earlierDialWaitMs = 60000;  // for a dial program still running from an ended wait
};

const TScheduleTimings& ScheduleTimings();
void SetScheduleTimingsForTest(const TScheduleTimings& timings);
void ResetScheduleTimings();
