#!/usr/bin/env python3
"""A device server for the link tests: Telnet with the COM-PORT option, as python3-serial's
PortManager serves it, in front of a loop-back device (every byte sent comes back), on
127.0.0.1:PORT. After every piece from the client it writes the device's state to STATUS as
"baudrate bytesize parity stopbits dtr break", so that a test sees what reached the device.

usage: loop_device_server.py PORT STATUS
"""
import os
import socket
import sys
import threading

import serial
import serial.rfc2217


def report(device, status):
    text = "{} {} {} {} {} {}\n".format(device.baudrate, device.bytesize, device.parity,
                                        device.stopbits, int(device.dtr),
                                        int(device.break_condition))
    with open(status + ".new", "w") as out:
        out.write(text)
    os.replace(status + ".new", status)


def serve(connection, device, status):
    lock = threading.Lock()

    class Sender:
        def write(self, data):
            with lock:
                connection.sendall(data)

    manager = serial.rfc2217.PortManager(device, Sender())
    alive = [True]

    def device_to_network():
        while alive[0]:
            data = device.read(device.in_waiting or 1)
            if data:
                try:
                    Sender().write(b"".join(manager.escape(data)))
                except OSError:
                    return

    reader = threading.Thread(target=device_to_network, daemon=True)
    reader.start()
    while True:
        try:
            data = connection.recv(1024)
        except OSError:
            break
        if not data:
            break
        device.write(b"".join(manager.filter(data)))
        report(device, status)
    alive[0] = False
    reader.join()
    connection.close()


def main():
    port, status = int(sys.argv[1]), sys.argv[2]
    device = serial.serial_for_url("loop://", timeout=0.05)
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", port))
    listener.listen(1)
    while True:
        connection, _ = listener.accept()
        connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        try:
            serve(connection, device, status)
        except OSError:  # a client that left at once (a probe whether the server listens)
            connection.close()


if __name__ == "__main__":
    main()
