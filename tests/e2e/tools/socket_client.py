#!/usr/bin/env python3
"""Clients and servers of local sockets for the single-instance scenarios.

flood <socket> <count>
    Opens up to <count> connections to the socket without waiting for any, prints how many
    were made and holds them until its input ends or it is ended.
listen <socket> <log> [<owner uid>]
    Listens at the socket (mode 0777, given to the owner when named), answers "OK" to every
    line it gets and appends each line to the log; a stranger that takes the program's place.
"""
import os
import resource
import socket
import sys


def flood(path, count):
    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    wanted = count + 64 if hard == resource.RLIM_INFINITY else min(hard, count + 64)
    resource.setrlimit(resource.RLIMIT_NOFILE, (max(soft, wanted), hard))
    held = []
    for _ in range(count):
        client = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        client.setblocking(False)
        try:
            client.connect(path)
            held.append(client)
        except OSError:
            client.close()
    print(len(held), flush=True)
    sys.stdin.read()


def listen(path, log, owner):
    server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    server.bind(path)
    os.chmod(path, 0o777)
    if owner is not None:
        os.chown(path, owner, owner)
    server.listen(16)
    print("listening", flush=True)
    while True:
        connection, _ = server.accept()
        with connection:
            line = connection.makefile("rb").readline()
            with open(log, "ab") as out:
                out.write(line or b"(nothing)\n")
            connection.sendall(b"OK\n")


if __name__ == "__main__":
    if sys.argv[1] == "flood":
        flood(sys.argv[2], int(sys.argv[3]))
    elif sys.argv[1] == "listen":
        listen(sys.argv[2], sys.argv[3], int(sys.argv[4]) if len(sys.argv) > 4 else None)
    else:
        sys.exit(__doc__)
