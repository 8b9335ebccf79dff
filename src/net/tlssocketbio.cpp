#include "net/tlssocketbio.h"

#include <climits>

#include <openssl/bio.h>

#include "net/socketcalls.h"
#include "platform/socketerrors.h"

namespace {

struct Channel {
    int socket;
    bool ended = false;  // a read saw the peer's end of the connection
    int error = 0;
};

Channel* ChannelOf(BIO* bio)
{
    return static_cast<Channel*>(BIO_get_data(bio));
}

int Outcome(BIO* bio, long result, bool reading)
{
    Channel* channel = ChannelOf(bio);
    BIO_clear_retry_flags(bio);
    if (result < 0) {
        channel->error = sockapi::LastError();
        if (channel->error == WSAEWOULDBLOCK) {
            if (reading)
                BIO_set_retry_read(bio);
            else
                BIO_set_retry_write(bio);
        }
    } else if (result == 0 && reading) {
        channel->ended = true;
    }
    return static_cast<int>(result);
}

int WriteToSocket(BIO* bio, const char* data, int size)
{
    return Outcome(bio, sockapi::Send(ChannelOf(bio)->socket, data, static_cast<size_t>(size), 0), false);
}

int ReadFromSocket(BIO* bio, char* data, int size)
{
    return Outcome(bio, sockapi::Receive(ChannelOf(bio)->socket, data, static_cast<size_t>(size), 0), true);
}

long Control(BIO* bio, int command, long, void*)
{
    switch (command) {
    case BIO_CTRL_FLUSH:
        return 1;
    case BIO_CTRL_EOF:
        // Tells the TLS library that a read of 0 was the peer's end, not a pause.
        return ChannelOf(bio)->ended ? 1 : 0;
    default:
        return 0;
    }
}

int Create(BIO* bio)
{
    BIO_set_init(bio, 0);
    return 1;
}

int Destroy(BIO* bio)
{
    delete ChannelOf(bio);
    BIO_set_data(bio, nullptr);
    BIO_set_init(bio, 0);
    return 1;
}

BIO_METHOD* SocketMethod()
{
    // Made once for the process and never freed: every channel uses it.
    static BIO_METHOD* method = [] {
        BIO_METHOD* made = BIO_meth_new(BIO_get_new_index() | BIO_TYPE_SOURCE_SINK, "zanvik socket");
        if (made) {
            BIO_meth_set_write(made, WriteToSocket);
            BIO_meth_set_read(made, ReadFromSocket);
            BIO_meth_set_ctrl(made, Control);
            BIO_meth_set_create(made, Create);
            BIO_meth_set_destroy(made, Destroy);
        }
        return made;
    }();
    return method;
}

}  // namespace

bio_st* NewSocketBio(int socket)
{
    BIO_METHOD* method = SocketMethod();
    BIO* bio = method ? BIO_new(method) : nullptr;
    if (!bio)
        return nullptr;
    BIO_set_data(bio, new Channel{socket});
    BIO_set_init(bio, 1);
    return bio;
}

int SocketBioError(bio_st* bio)
{
    Channel* channel = bio ? ChannelOf(bio) : nullptr;
    return channel ? channel->error : 0;
}
