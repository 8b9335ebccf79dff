#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>

#include "platform/profilefile.h"

// The host name cache: for every host the grabber connected to, the address of the
// server that answered, kept in section "www" of "dns.ini" in the program folder.
// It is not a resolver; addresses come only from connected sockets, and the first
// address seen for a host stays. Lookup is safe from any thread; Remember runs on the
// main thread.
class TDNS {
public:
    TDNS();  // loads ProgramFolder + "dns.ini"

    // The address for host (names compared without regard to case), or empty.
    std::string Lookup(const std::string& host) const;
    // Adds host=address to the table and the file, unless address is empty or host is
    // known. Gives the address the host keeps: its first one, which names its site
    // folder however many addresses the host is later reached at; empty when none.
    // An entry the file refuses stays in the table, is logged, and is written again with
    // the next new entry.
    std::string Remember(const std::string& host, const std::string& address);

private:
    void WriteUnwritten();

    mutable std::mutex lock;
    std::unordered_map<std::string, std::string> table;  // lower-case host -> address
    TProfileFile file;
    std::deque<std::pair<std::string, std::string>> unwritten;  // main thread only
};

// The process's host name cache, made at start-up; nullptr before and after.
TDNS* HostCache();
void SetHostCache(TDNS* cache);
