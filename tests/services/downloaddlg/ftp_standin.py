# The FTP server of the download dialog's tests: serves a folder read-only to anonymous users
# on a free loopback port, sending at most the given number of bytes a second. Prints its
# process id and port on one line, then serves until it is ended.
import logging
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer

folder, limit = sys.argv[1], int(sys.argv[2])
logging.getLogger("pyftpdlib").addHandler(logging.NullHandler())
logging.getLogger("pyftpdlib").propagate = False
authorizer = DummyAuthorizer()
authorizer.add_anonymous(folder)
ThrottledDTPHandler.write_limit = limit
FTPHandler.authorizer = authorizer
FTPHandler.dtp_handler = ThrottledDTPHandler
server = FTPServer(("127.0.0.1", 0), FTPHandler)
print(os.getpid(), server.address[1], flush=True)
server.serve_forever(handle_exit=True)
