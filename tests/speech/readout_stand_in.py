#!/usr/bin/python3
# The stand-in speech program of speech_test.cpp, which describes what it does.
import json, os, selectors, socket, time


def log(line):
    try:
        with open(os.environ["FAKE_READOUT_LOG"], "a", encoding="utf-8") as file:
            file.write(line + "\n")
    except FileNotFoundError:  # the test that started it is over
        pass


path = os.environ["FAKE_READOUT_SOCKET"]
if os.path.exists(path):
    os.unlink(path)
server = socket.socket(socket.AF_UNIX)
server.bind(path)
server.listen()
events = selectors.DefaultSelector()
events.register(server, selectors.EVENT_READ)
received = {}  # what each client sent that is not a whole line yet
reading_ends = None
idle_since = time.monotonic()
while received or time.monotonic() - idle_since < 0.5:
    if reading_ends and time.monotonic() >= reading_ends:
        reading_ends = None
        log("done")
    for key, _ in events.select(timeout=0.01):
        if key.fileobj is server:
            received[events.register(server.accept()[0], selectors.EVENT_READ).fileobj] = b""
            continue
        client, data = key.fileobj, key.fileobj.recv(65536)
        if not data:
            events.unregister(client)
            client.close()
            del received[client]
            idle_since = time.monotonic()
            continue
        *lines, received[client] = (received[client] + data).split(b"\n")
        for message in map(json.loads, lines):
            command = message.get("cmd")
            if command == "state":
                client.sendall(json.dumps({"readonly": reading_ends is not None}).encode() + b"\n")
                continue
            log(command if command != "settext" else "settext " + message.get("text", ""))
            if command == "hello":
                client.sendall(json.dumps({"class": os.environ.get("FAKE_READOUT_CLASS") or "Edit"}).encode() + b"\n")
            elif command == "command" and os.environ.get("FAKE_READOUT_DIE") == "1":
                log("exit")
                os._exit(0)
            elif command == "command":
                reading_ends = time.monotonic() + int(os.environ.get("FAKE_READOUT_READ_MS") or 300) / 1000
server.close()  # nothing connects to a program that is ending
log("exit")
