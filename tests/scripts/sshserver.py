#!/usr/bin/env python3
"""A local OpenSSH server for the SFTP tests: its own host key and configuration in --dir,
on 127.0.0.1 at a free high port, which it prints on stdout once the server takes connections.

It lets in the user who runs it with the key it writes to DIR/home/.ssh/id_rsa (where curl
looks when HOME is DIR/home). DIR/other_host_key.pub is a host key the server does not have.
sshd's own messages go to DIR/sshd.log. Runs until its standard input closes, then stops
the server, so that it never outlives its test. Started directly, never as a system service.
"""
import argparse
import os
import socket
import subprocess
import sys
import time

SSHD = "/usr/sbin/sshd"


def keygen(path, kind):
    subprocess.run(["ssh-keygen", "-q", "-t", kind, "-m", "PEM", "-N", "", "-f", path],
                   check=True)


def die_with_parent():
    import ctypes
    import signal
    ctypes.CDLL(None).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG: no orphaned sshd


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dir", required=True)
    args = parser.parse_args()
    folder = os.path.abspath(args.dir)
    if not os.access(SSHD, os.X_OK):
        sys.exit(SSHD + " is missing: install openssh-server (scripts/deps.sh)")

    home_ssh = os.path.join(folder, "home", ".ssh")
    os.makedirs(home_ssh, exist_ok=True)
    keygen(os.path.join(folder, "host_key"), "ed25519")
    keygen(os.path.join(folder, "other_host_key"), "ed25519")
    # ECDSA: libssh2 signs RSA keys with SHA-1, which OpenSSH no longer takes.
    keygen(os.path.join(home_ssh, "id_rsa"), "ecdsa")
    with open(os.path.join(home_ssh, "id_rsa.pub")) as f, \
            open(os.path.join(folder, "authorized_keys"), "w") as out:
        out.write(f.read())

    port = free_port()
    config = os.path.join(folder, "sshd_config")
    with open(config, "w") as f:
        f.write(f"""Port {port}
ListenAddress 127.0.0.1
HostKey {folder}/host_key
PidFile none
AuthorizedKeysFile {folder}/authorized_keys
StrictModes no
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
Subsystem sftp internal-sftp
""")
    if os.geteuid() == 0:
        os.makedirs("/run/sshd", mode=0o755, exist_ok=True)  # sshd's privilege separation
    with open(os.path.join(folder, "sshd.log"), "w") as log:
        server = subprocess.Popen([SSHD, "-D", "-e", "-f", config], stdin=subprocess.DEVNULL,
                                  stdout=log, stderr=log, preexec_fn=die_with_parent)
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline and server.poll() is None:
        try:
            socket.create_connection(("127.0.0.1", port), timeout=1).close()
            break
        except OSError:
            time.sleep(0.05)
    if server.poll() is not None:
        sys.exit("sshd did not start; see " + os.path.join(folder, "sshd.log"))

    print(port, flush=True)
    try:
        sys.stdin.read()
    finally:
        server.terminate()
        server.wait(5)


if __name__ == "__main__":
    main()
