#!/usr/bin/env python3
"""A serial line that is cut in the middle of every transfer.

    breaking-line.py LINK COUNT

LINK names a pseudo-terminal. Once COUNT bytes have arrived, its far end is closed, so that
the writer's next write fails as on a pulled cable; then a fresh terminal takes the name for
the next transfer. Runs until killed.
"""
import os
import select
import sys
import tty


def serve(link, count):
    while True:
        far_end, near_end = os.openpty()
        tty.setraw(near_end)
        temporary = link + ".new"
        if os.path.lexists(temporary):
            os.unlink(temporary)
        os.symlink(os.ttyname(near_end), temporary)
        os.replace(temporary, link)
        received = 0
        while received < count:
            select.select([far_end], [], [])
            try:
                received += len(os.read(far_end, count - received))
            except OSError:
                pass  # nobody holds the line open between transfers
        os.close(far_end)
        os.close(near_end)


if __name__ == "__main__":
    serve(sys.argv[1], int(sys.argv[2]))
