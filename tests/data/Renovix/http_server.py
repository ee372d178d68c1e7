# The HTTP server of the update library's network tests: Python's http.server on a folder, on
# a free port of 127.0.0.1 that it writes to a file once it listens. A few names answer in ways
# a real server may: a body shorter than announced, redirects, a script taking the file name,
# and hostile ones: a trickle, a slow stream, a crawl above the stall floor, bodies far larger
# than any update file.
# Usage: http_server.py <folder> <port file>
import functools
import http.server
import os
import sys
import time
import urllib.parse

root, port_file = sys.argv[1], sys.argv[2]

REDIRECTS = {
    'redirect-to-file': 'three.txt',
    'redirect-to-ftp': 'ftp://127.0.0.1:1/pub/three.txt',
    'redirect-to-local': 'file:///etc/hostname',
}


# name: (announced length or None, bytes per piece, seconds between pieces, total bytes)
STREAMS = {
    'trickle': (1000, 1, 0.5, 1000),
    'slow': (1 << 20, 1024, 0.05, 1 << 20),
    'endless': (None, 1 << 16, 0, 256 << 20),
    'large': (8 << 20, 1 << 16, 0, 8 << 20),
    # 4096 bytes a second: four times a stall floor of 1024, so that a busy machine's late
    # wake-ups never take it below
    'crawl': (None, 1024, 0.25, 1 << 20),
}

# Every update list in this folder crawls.
CRAWLING = '/crawling/'


class Handler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def stream(self, length, piece, pause, total):
        self.send_response(200)
        if length is not None:
            self.send_header('Content-Length', str(length))
        self.end_headers()
        self.close_connection = True
        sent = 0
        start = time.monotonic()
        try:
            while sent < total:
                self.wfile.write(b'z' * piece)
                self.wfile.flush()
                sent += piece
                # Paced to the clock, not piece by piece: a sleep that overshoots on a busy
                # machine is made up by the next, so the stream keeps its rate.
                time.sleep(max(0.0, start + sent // piece * pause - time.monotonic()))
        except OSError:
            pass  # the client gave up

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        name = os.path.basename(url.path)
        if name == 'truncated':
            self.send_response(200)
            self.send_header('Content-Length', '5000')
            self.end_headers()
            self.wfile.write(b'x' * 1000)
            self.close_connection = True
            return
        if url.path.startswith(CRAWLING) and name.startswith('RenovixList'):
            self.stream(*STREAMS['crawl'])
            return
        if name in STREAMS:
            self.stream(*STREAMS[name])
            return
        if name in REDIRECTS:
            self.send_response(302)
            self.send_header('Location', REDIRECTS[name])
            self.send_header('Content-Length', '0')
            self.end_headers()
            return
        if name == 'get.php':
            wanted = urllib.parse.parse_qs(url.query).get('file', [''])[0]
            self.path = os.path.dirname(url.path) + '/' + urllib.parse.quote(wanted)
        super().do_GET()


server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), functools.partial(Handler, directory=root))
with open(port_file + '.tmp', 'w') as f:
    f.write(str(server.server_address[1]))
os.rename(port_file + '.tmp', port_file)
server.serve_forever()
