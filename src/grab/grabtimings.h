#pragma once

// The grabber's waits. The program's values are the defaults; tests shorten them with
// SetGrabTimingsForTest and put them back with ResetGrabTimings.
struct TGrabTimings {
    int connectPasses = 900;  // passes of connectPassMs before a server counts as silent
    int connectPassMs = 100;
    int slowDataMinutes = 3;  // no data for longer than this fails the page
    int slaveReportMs = 1000;  // the supervisor's pause per busy slave
    int slaveStartMs = 100;    // its pause after starting a slave
};

const TGrabTimings& GrabTimings();
void SetGrabTimingsForTest(const TGrabTimings& timings);
void ResetGrabTimings();
