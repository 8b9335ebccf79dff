#pragma once

// A plain socket of this process connected to port of 127.0.0.1, that reads nothing
// unless asked to; with receiveBuffer set, its receive buffer is that small. -1 when the
// connect fails. The caller closes it.
int ConnectLoopback(int port, int receiveBuffer = 0);
