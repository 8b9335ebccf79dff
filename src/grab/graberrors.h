#pragma once

#include <stdexcept>
#include <string>

// The grabber's failures. Each thread's loop catches them by class and decides what
// stops: the page, the thread, the site or the scheduler.
class EGrabError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The header was refused: bad form, a status other than 2xx, a page on another server,
// or a file that cannot be scanned.
class EParseHeader : public EGrabError {
public:
    using EGrabError::EGrabError;
};

// The server gave data too slowly.
class EFetchPage : public EGrabError {
public:
    using EGrabError::EGrabError;
};

// The site has been grabbed for longer than maxSiteTime.
class EGrabToLong : public EGrabError {
public:
    using EGrabError::EGrabError;
};

// The disk holding the page store is below minVolumn.
class EQuotaError : public EGrabError {
public:
    using EGrabError::EGrabError;
};

// No connection to the server.
class EServerNoResponse : public EGrabError {
public:
    using EGrabError::EGrabError;
};

// Content-Length over maxFileSize.
class EFileToLarge : public EGrabError {
public:
    using EGrabError::EGrabError;
};

// The stored copy is as new as the server's.
class ENoModified : public EGrabError {
public:
    using EGrabError::EGrabError;
};
