# A stand-in for MusicBrainz's web service, for the tests: answers GET /ws/2/discid/<id>?… as the
# routes file says, one line per disc id: "<id> <answer>", where the answer is an XML file beside
# this script (sent with status 200), "404" (MusicBrainz's not-found answer), "huge" (an endless
# stream of XML, 64 MB at most) or "stall" (the headers, then silence). Every request is logged
# as "<seconds since the epoch> <path> <user agent>". Prints its port on the first line, then
# serves until killed, and ends itself after the seconds given as its last argument.
import http.server, os, signal, sys, time

here = os.path.dirname(os.path.abspath(__file__))
routes_file, log_file, limit = sys.argv[1], sys.argv[2], int(sys.argv[3])
routes = dict(line.split() for line in open(routes_file) if line.strip())
signal.alarm(limit)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def send_xml(self, status, body):
        self.send_response(status)
        self.send_header("Content-Type", "application/xml; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        with open(log_file, "a") as log:
            log.write("%.3f %s %s\n" % (time.time(), self.path, self.headers.get("User-Agent")))
        disc = self.path.split("?")[0].rsplit("/", 1)[-1]
        answer = routes.get(disc, "404")
        if answer == "404":
            self.send_xml(404, open(os.path.join(here, "not-found.xml"), "rb").read())
        elif answer == "stall":
            self.send_response(200)
            self.send_header("Content-Type", "application/xml")
            self.send_header("Content-Length", "100000")
            self.end_headers()
            self.wfile.write(b"<?xml version='1.0'?><metadata>")
            self.wfile.flush()
            time.sleep(limit)
        elif answer == "huge":
            self.send_response(200)
            self.send_header("Content-Type", "application/xml")
            self.end_headers()
            chunk = b"<release><title>" + b"x" * 65000 + b"</title></release>"
            try:
                self.wfile.write(b"<?xml version='1.0'?><metadata><release-list>")
                for _ in range(1000):
                    self.wfile.write(chunk)
            except (BrokenPipeError, ConnectionResetError):
                pass
            self.close_connection = True
        else:
            self.send_xml(200, open(os.path.join(here, answer), "rb").read())


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
server.daemon_threads = True
print(server.server_address[1], flush=True)
server.serve_forever()
