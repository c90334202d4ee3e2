#!/usr/bin/python3
"""Servers for the transfer tests, on 127.0.0.1 and a free port.

testserver.py ftp|ftpes|ftps|sftp ROOT USER PASSWORD [--fault FAULT --after BYTES] [--cert PEM] [--without CMD]
    [--throttle RATE] [--authorized-keys FILE] [--delay MS] [--max-logins N]
    [--slow-refusal MS]
testserver.py cert PEM [HOST]   (writes a self-signed key and certificate for HOST, by default 127.0.0.1)
Prints "PORT FINGERPRINT" (fingerprint only for sftp) on the first line once it listens.
--fault, after BYTES bytes of an uploaded file: stop reading and answering (freeze), exit at once (die),
  answer "452" as a full disk does (full), keep all but the last byte (truncate);
  from the start: refuse every write (readonly), report sizes one byte too big (size).
--without SIZE|MLST (repeatable): the FTP server lacks that command, as some servers do.
--max-logins N: the FTP server refuses more than N connections at once, as many hosts do.
--slow-refusal MS: that refusal comes MS milliseconds late, as from a busy host.
--delay MS: the FTP server answers each command MS milliseconds late, as a distant one does; each
  connection then has a thread of its own, so that several can work at once.
--throttle RATE: plain ftp reads uploads at RATE bytes a second.
--authorized-keys FILE: sftp signs in by these public keys only, and refuses every password.
"""
import argparse
import os
import sys
import time


def ftp_server(args):
    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib import handlers
    from pyftpdlib.servers import FTPServer, ThreadedFTPServer

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root,
                        perm="elr" if args.fault == "readonly" else "elradfmwMT")

    if args.mode in ("ftpes", "ftps"):
        base_handler, base_dtp = handlers.TLS_FTPHandler, handlers.TLS_DTPHandler
    else:
        base_handler, base_dtp = handlers.FTPHandler, handlers.DTPHandler

    if args.throttle:
        base_dtp = type("Throttled", (handlers.ThrottledDTPHandler,), {"read_limit": args.throttle})

    class DTP(base_dtp):
        received = 0

        def __init__(self, sock, cmd_channel):
            super().__init__(sock, cmd_channel)
            # pyftpdlib waits for the transfer command before it reads a protected data connection,
            # while the client starts its TLS handshake as soon as the connection opens.
            if getattr(self, "_ssl_requested", False):
                self._ssl_want_read = True
                self.modify_ioloop_events(self.ioloop.READ)

        def handle_close(self):
            # A full disk, told after the client sent the whole file, as servers answer in turn.
            if args.fault == "full" and DTP.received >= args.after and self.receive and not self._closed:
                self.file_obj.truncate(0)
                self._resp = ("452 Insufficient storage space on the server.", lambda *a: None)
                self.close()
                return
            super().handle_close()

        def handle_read_event(self):
            if args.fault in ("freeze", "die") and self.received >= args.after:
                if args.fault == "die":
                    os._exit(1)
                # frozen: never read again, never answer
                self.modify_ioloop_events(0)
                self.cmd_channel.modify_ioloop_events(0)
                return
            before = self.tot_bytes_received
            super().handle_read_event()
            # Bytes OpenSSL already decrypted raise no new socket event; read them now or they are lost
            # when the client closes the connection.
            pending = getattr(self.socket, "pending", None)
            while pending and not self._closed and self.receive and pending() > 0:
                super().handle_read_event()
            DTP.received += self.tot_bytes_received - before

    class Handler(base_handler):
        proto_cmds = {k: v for k, v in base_handler.proto_cmds.items() if k not in (args.without or [])}

        def respond(self, resp, logfun=None):
            if args.delay:
                time.sleep(args.delay / 1000)
            super().respond(resp) if logfun is None else super().respond(resp, logfun)

        def ftp_SIZE(self, path):
            if args.fault == "size":
                self.respond("213 %d" % (os.path.getsize(path) + 1))
            else:
                super().ftp_SIZE(path)

        def on_file_received(self, path):
            if args.fault == "truncate":
                os.truncate(path, max(os.path.getsize(path) - 1, 0))

        def handle_max_cons_per_ip(self):
            if args.slow_refusal:
                self.ioloop.call_later(args.slow_refusal / 1000, super().handle_max_cons_per_ip)
            else:
                super().handle_max_cons_per_ip()

        def handle(self):
            # Implicit TLS: the connection is secured before the greeting, with no AUTH command.
            if args.mode == "ftps":
                self.secure_connection(self.ssl_context)
            super().handle()

    Handler.authorizer = authorizer
    Handler.dtp_handler = DTP
    Handler.passive_ports = None
    Handler.auth_failed_timeout = 0.1
    if args.mode in ("ftpes", "ftps"):
        Handler.certfile = args.cert
        Handler.tls_control_required = True
        Handler.tls_data_required = True
        # A TLS 1.3 server sends session tickets on the data connection, which an uploading client never
        # reads; its close then resets the connection and pyftpdlib drops the bytes it had not read yet.
        from OpenSSL import SSL
        Handler.ssl_options |= SSL.OP_NO_TICKET
        Handler.get_ssl_context().set_max_proto_version(SSL.TLS1_2_VERSION)
    server = (ThreadedFTPServer if args.delay else FTPServer)(("127.0.0.1", 0), Handler)
    server.max_cons_per_ip = args.max_logins
    print(server.socket.getsockname()[1], "-", flush=True)
    server.serve_forever()


def sftp_server(args):
    import asyncio
    import asyncssh

    class SFTP(asyncssh.SFTPServer):
        def open(self, path, pflags, attrs):
            if args.fault == "readonly" and pflags & asyncssh.FXF_WRITE:
                raise asyncssh.SFTPError(asyncssh.FX_PERMISSION_DENIED, "Permission denied")
            return super().open(path, pflags, attrs)

    class Server(asyncssh.SSHServer):
        def begin_auth(self, username):
            return True

        def password_auth_supported(self):
            return not args.authorized_keys

        def validate_password(self, username, password):
            return username == args.user and password == args.password

    async def main():
        key = asyncssh.generate_private_key("ssh-ed25519")
        server = await asyncssh.create_server(
            Server, "127.0.0.1", 0, server_host_keys=[key], authorized_client_keys=args.authorized_keys,
            sftp_factory=lambda chan: SFTP(chan, chroot=args.root.encode()))
        port = server.sockets[0].getsockname()[1]
        if args.known_hosts:
            with open(args.known_hosts, "w") as f:
                f.write("[127.0.0.1]:%d %s" % (port, key.export_public_key().decode()))
        print(port, key.get_fingerprint("sha256"), flush=True)
        await asyncio.Event().wait()

    asyncio.run(main())


def make_certificate(path, host):
    from OpenSSL import crypto

    key = crypto.PKey()
    key.generate_key(crypto.TYPE_RSA, 2048)
    cert = crypto.X509()
    cert.get_subject().CN = host
    cert.set_serial_number(1)
    cert.gmtime_adj_notBefore(-60)
    cert.gmtime_adj_notAfter(24 * 3600)
    cert.set_issuer(cert.get_subject())
    cert.set_pubkey(key)
    cert.add_extensions([crypto.X509Extension(b"subjectAltName", False, (b"IP:" if host[0].isdigit() else b"DNS:") + host.encode()),
                         crypto.X509Extension(b"basicConstraints", True, b"CA:TRUE")])
    cert.sign(key, "sha256")
    with open(path, "wb") as f:
        f.write(crypto.dump_privatekey(crypto.FILETYPE_PEM, key))
        f.write(crypto.dump_certificate(crypto.FILETYPE_PEM, cert))


def main():
    if len(sys.argv) in (3, 4) and sys.argv[1] == "cert":
        make_certificate(sys.argv[2], sys.argv[3] if len(sys.argv) == 4 else "127.0.0.1")
        return 0
    p = argparse.ArgumentParser()
    p.add_argument("mode", choices=["ftp", "ftpes", "ftps", "sftp"])
    p.add_argument("root")
    p.add_argument("user")
    p.add_argument("password")
    p.add_argument("--fault", choices=["freeze", "die", "full", "truncate", "readonly", "size"])
    p.add_argument("--without", action="append", choices=["SIZE", "MLST"])
    p.add_argument("--after", type=int, default=0)
    p.add_argument("--cert")
    p.add_argument("--known-hosts")
    p.add_argument("--throttle", type=int)
    p.add_argument("--authorized-keys")
    p.add_argument("--delay", type=int, default=0)
    p.add_argument("--max-logins", type=int, default=0)
    p.add_argument("--slow-refusal", type=int, default=0)
    args = p.parse_args()
    if args.mode == "sftp":
        sftp_server(args)
    else:
        ftp_server(args)


if __name__ == "__main__":
    sys.exit(main())
