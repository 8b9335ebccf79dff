#pragma once

struct bio_st;

// A TLS library I/O channel over one of our non-blocking sockets: reads and writes go
// through the socket calls (no SIGPIPE, Winsock numbers), and a call that would block
// asks the TLS library to retry, so the caller waits for the socket's events. The
// socket stays the caller's: freeing the channel does not close it.
bio_st* NewSocketBio(int socket);

// The Winsock number of the last failed read or write of the channel; 0 when none.
int SocketBioError(bio_st* bio);
