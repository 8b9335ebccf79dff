"""A distant server for the benchmarks: a TCP proxy on 127.0.0.1 in front of a local one
that holds every request for DELAY milliseconds before passing it on, as a server far away
would answer it late. Each client connection gets its own connection to the server behind,
so persistent connections (wget's) and one request per connection (Zanvik's) both work.

    python3 delayproxy.py LISTEN_PORT TARGET_PORT DELAY_MS

Prints "ready" on standard output once it listens."""
import asyncio
import sys

HEADER_END = b"\r\n\r\n"
MAX_HEADER = 65536


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
        try:
            writer.close()
        except Exception:
            pass


async def requests(reader, writer, delay):
    """Passes the client's requests on, each one DELAY after its header is complete."""
    pending = b""
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
                        writer.write(pending)
                        pending = b""
                    break
                request, pending = pending[: end + 4], pending[end + 4:]
                await asyncio.sleep(delay)
                writer.write(request)
                await writer.drain()
    except (ConnectionError, asyncio.CancelledError):
        pass
    finally:
        try:
            writer.close()
        except Exception:
            pass


async def serve(listen_port, target_port, delay):
    async def client(client_reader, client_writer):
        try:
            server_reader, server_writer = await asyncio.open_connection("127.0.0.1", target_port)
        except OSError:
            client_writer.close()
            return
        up = asyncio.ensure_future(requests(client_reader, server_writer, delay))
        down = asyncio.ensure_future(pipe(server_reader, client_writer))
        await asyncio.wait([up, down], return_when=asyncio.FIRST_COMPLETED)
        # The answer has ended (or the client went away): both sides close.
        for task in (up, down):
            task.cancel()
        for w in (server_writer, client_writer):
            try:
                w.close()
            except Exception:
                pass

    server = await asyncio.start_server(client, "127.0.0.1", listen_port, backlog=512)
    print("ready", flush=True)
    async with server:
        await server.serve_forever()


if __name__ == "__main__":
    asyncio.run(serve(int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3]) / 1000.0))
