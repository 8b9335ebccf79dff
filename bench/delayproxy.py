"""A distant server for the benchmarks: a TCP proxy on 127.0.0.1 in front of a local one
that passes every request on DELAY milliseconds after it came whole, as a server far away
would answer it late. Each client connection gets its own connection to the server behind,
made while the first request comes, so persistent connections (wget's) and one request per
connection (Zanvik's) both see the delay and little else.

    python3 delayproxy.py LISTEN_PORT TARGET_PORT DELAY_MS

Prints "ready" on standard output once it listens."""
import asyncio
import sys

HEADER_END = b"\r\n\r\n"
MAX_HEADER = 65536


def close(writer):
    try:
        writer.close()
    except Exception:
        pass


async def pipe(reader, writer):
    try:
        while True:
            data = await reader.read(65536)
            if not data:
                break
            writer.write(data)
            await writer.drain()
    except (ConnectionError, asyncio.CancelledError):
        pass
    finally:
        close(writer)


async def requests(reader, upstream, delay, answers):
    """Passes the client's requests on, each one DELAY after its header came whole. The
    connection behind is awaited only when the first request is due."""
    loop = asyncio.get_running_loop()
    pending = b""
    writer = None
    try:
        while True:
            data = await reader.read(65536)
            if not data:
                break
            pending += data
            while True:
                end = pending.find(HEADER_END)
                if end < 0:
                    if len(pending) > MAX_HEADER:
                        end = len(pending) - 4
                    else:
                        break
                request, pending = pending[: end + 4], pending[end + 4:]
                due = loop.time() + delay
                if writer is None:
                    server_reader, writer = await upstream
                    answers.set_result(server_reader)
                await asyncio.sleep(max(0.0, due - loop.time()))
                writer.write(request)
                await writer.drain()
    except (ConnectionError, OSError, asyncio.CancelledError):
        pass
    finally:
        if writer is not None:
            close(writer)


async def serve(listen_port, target_port, delay):
    async def client(client_reader, client_writer):
        loop = asyncio.get_running_loop()
        upstream = loop.create_task(asyncio.open_connection("127.0.0.1", target_port))
        answers = loop.create_future()
        up = loop.create_task(requests(client_reader, upstream, delay, answers))

        async def down():
            pipe_to = await answers
            await pipe(pipe_to, client_writer)

        back = loop.create_task(down())
        await asyncio.wait([up, back], return_when=asyncio.FIRST_COMPLETED)
        # The answer has ended (or the client went away): both sides close.
        for task in (up, back):
            task.cancel()
        if upstream.done() and not upstream.cancelled() and upstream.exception() is None:
            close(upstream.result()[1])
        else:
            upstream.cancel()
        close(client_writer)

    server = await asyncio.start_server(client, "127.0.0.1", listen_port, backlog=512)
    print("ready", flush=True)
    async with server:
        await server.serve_forever()


if __name__ == "__main__":
    asyncio.run(serve(int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3]) / 1000.0))
