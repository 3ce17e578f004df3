#!/usr/bin/env python3
"""A local FTP server for the tests: one user, one root folder, the chosen port on stdout.

--read-rate N reads uploads at N bytes a second (0: never, a dead line). --tls-dir DIR makes
it an implicit FTPS server with a certificate for 127.0.0.1 from a CA made at start; DIR gets
ca.pem, other-ca.pem (a CA that signed nothing) and pin.txt (the sha256// pin of the server's
public key). Runs until its standard input closes, so that it never outlives its test.
"""
import argparse
import base64
import hashlib
import logging
import os
import socket
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler, PassiveDTP
from pyftpdlib.servers import FTPServer


class SmallBufferPassiveDTP(PassiveDTP):
    """Data connections with a small receive buffer, so that the client sees the rate at
    which the server reads and not the kernel's buffers. Set before listening: the window
    is agreed on when the connection opens."""

    def create_socket(self, family, type):
        super().create_socket(family, type)
        self.socket.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 1024)


class SlowDTPHandler(DTPHandler):
    """Reads a tenth of the rate every tenth of a second."""

    rate = 0

    def __init__(self, sock, cmd_channel):
        super().__init__(sock, cmd_channel)
        self.ac_in_buffer_size = max(1, self.rate // 10)
        self._wake = None

    def handle_read_event(self):
        if self.rate:
            DTPHandler.handle_read(self)
        if not self._closed:
            self.del_channel()
            if self.rate:
                self._wake = self.ioloop.call_later(0.1, self._resume, _errback=self.handle_error)

    def _resume(self):
        if not self._closed:
            self.add_channel(events=self.ioloop.READ)

    def close(self):
        if self._wake is not None and not self._wake.cancelled:
            self._wake.cancel()
        super().close()


def make_tls_files(folder):
    """Writes a test CA, a server certificate it signed and a stranger CA; returns the
    server's certificate-and-key file."""
    from OpenSSL import crypto

    def key():
        k = crypto.PKey()
        k.generate_key(crypto.TYPE_RSA, 2048)
        return k

    def certificate(subject_key, name, issuer=None, issuer_key=None, ca=False):
        c = crypto.X509()
        c.set_version(2)
        c.set_serial_number(int.from_bytes(os.urandom(8), "big"))
        c.get_subject().CN = name
        c.gmtime_adj_notBefore(-3600)
        c.gmtime_adj_notAfter(24 * 3600)
        c.set_issuer((issuer or c).get_subject())
        c.set_pubkey(subject_key)
        if ca:
            c.add_extensions([crypto.X509Extension(b"basicConstraints", True, b"CA:TRUE"),
                              crypto.X509Extension(b"keyUsage", True, b"keyCertSign")])
        else:
            c.add_extensions([crypto.X509Extension(b"subjectAltName", False, b"IP:127.0.0.1")])
        c.sign(issuer_key or subject_key, "sha256")
        return c

    pem = crypto.FILETYPE_PEM
    ca_key, server_key, other_key = key(), key(), key()
    ca = certificate(ca_key, "corvane test CA", ca=True)
    other = certificate(other_key, "corvane stranger CA", ca=True)
    server = certificate(server_key, "127.0.0.1", ca, ca_key)
    with open(os.path.join(folder, "ca.pem"), "wb") as f:
        f.write(crypto.dump_certificate(pem, ca))
    with open(os.path.join(folder, "other-ca.pem"), "wb") as f:
        f.write(crypto.dump_certificate(pem, other))
    spki = crypto.dump_publickey(crypto.FILETYPE_ASN1, server_key)
    with open(os.path.join(folder, "pin.txt"), "w") as f:
        f.write("sha256//" + base64.b64encode(hashlib.sha256(spki).digest()).decode())
    server_file = os.path.join(folder, "server.pem")
    with open(server_file, "wb") as f:
        f.write(crypto.dump_certificate(pem, server) + crypto.dump_privatekey(pem, server_key))
    return server_file


def implicit_tls_handler(certfile):
    from pyftpdlib.handlers import TLS_DTPHandler, TLS_FTPHandler

    class EagerTLSData(TLS_DTPHandler):
        """curl shakes hands on the data connection before STOR; pyftpdlib would close it."""

        def readable(self):
            return self._ssl_accepting or super().readable()

    class ImplicitTLS(TLS_FTPHandler):
        """TLS from the first byte, as ftps:// expects; the greeting follows the handshake."""

        def handle(self):
            self.secure_connection(self.ssl_context)

        def handle_ssl_established(self):
            TLS_FTPHandler.handle(self)

    ImplicitTLS.certfile = certfile
    ImplicitTLS.dtp_handler = EagerTLSData
    return ImplicitTLS


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--read-rate", type=int)
    parser.add_argument("--tls-dir")
    args = parser.parse_args()

    logging.basicConfig(level=logging.ERROR)
    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    handler = implicit_tls_handler(make_tls_files(args.tls_dir)) if args.tls_dir else FTPHandler
    handler.authorizer = authorizer
    handler.banner = "test server ready"
    if args.read_rate is not None:
        SlowDTPHandler.rate = args.read_rate
        handler.dtp_handler = SlowDTPHandler
        handler.passive_dtp = SmallBufferPassiveDTP
    server = FTPServer(("127.0.0.1", args.port), handler)

    def watch_stdin():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=watch_stdin, daemon=True).start()
    print(server.socket.getsockname()[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
