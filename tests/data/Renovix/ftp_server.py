# The FTP server of the update library's network tests: pyftpdlib on a folder with one user,
# on a free port of 127.0.0.1 that it writes to a file once it listens.
# Usage: ftp_server.py <folder> <port file> <user> <password>
import logging
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

root, port_file, user, password = sys.argv[1:5]
logging.disable(logging.CRITICAL)

authorizer = DummyAuthorizer()
authorizer.add_user(user, password, root, perm='elr')


class Handler(FTPHandler):
    # pyftpdlib waits 3 s after a failed login, which only slows the tests down.
    auth_failed_timeout = 0.1


Handler.authorizer = authorizer
server = FTPServer(('127.0.0.1', 0), Handler)
with open(port_file + '.tmp', 'w') as f:
    f.write(str(server.socket.getsockname()[1]))
os.rename(port_file + '.tmp', port_file)
server.serve_forever()
