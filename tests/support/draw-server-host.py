#!/usr/bin/env python3
"""Runs a command (a Windows test program under Wine) with reference draw
servers at hand on the Linux side.

The command finds this host's loopback port in TOVARIN_DRAW_SERVER_HOST_PORT.
Each connection sends the server's arguments, each ended by a NUL and the
list by a line end; the host starts tools/draw-server with them, answers with
the server's first line (its address) and stops the server when the
connection closes, so a server lives exactly as long as the test's DrawServer.

Usage: draw-server-host.py COMMAND [ARGUMENT]...   (exits with the command's status)
"""
import os
import pathlib
import socket
import subprocess
import sys
import threading

ROOT = pathlib.Path(__file__).resolve().parent.parent.parent
SERVER = ROOT / "tools" / "draw-server"
running = set()  # the servers not stopped yet, stopped when the command ends
running_lock = threading.Lock()


def read_request(connection):
    data = b""
    while not data.endswith(b"\n"):
        chunk = connection.recv(4096)
        if not chunk:
            return None
        data += chunk
    return [word.decode("utf-8") for word in data[:-1].split(b"\0")[:-1]]


def serve(connection):
    with connection:
        words = read_request(connection)
        if words is None:
            return
        script = SERVER
        if words and words[0].startswith("--script="):
            script = ROOT / words.pop(0)[len("--script="):]
        server = subprocess.Popen([sys.executable, str(script), *words], stdout=subprocess.PIPE)
        with running_lock:
            running.add(server)
        try:
            connection.sendall(server.stdout.readline())
            while connection.recv(4096):
                pass
        except OSError:
            pass
        finally:
            with running_lock:
                running.discard(server)
            server.terminate()
            server.wait()


def accept_forever(listener):
    while True:
        connection, _ = listener.accept()
        threading.Thread(target=serve, args=(connection,), daemon=True).start()


def main():
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    listener = socket.create_server(("127.0.0.1", 0))
    threading.Thread(target=accept_forever, args=(listener,), daemon=True).start()
    environment = dict(os.environ, TOVARIN_DRAW_SERVER_HOST_PORT=str(listener.getsockname()[1]))
    status = subprocess.call(sys.argv[1:], env=environment)
    with running_lock:
        for server in running:
            server.terminate()
    return status


if __name__ == "__main__":
    sys.exit(main())
