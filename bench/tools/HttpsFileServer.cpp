// A plain HTTPS file server for the download benchmark, as a process of its own so that neither
// the program under test nor curl shares a processor thread with it:
//
//   https_file_server CERTIFICATE_CHAIN KEY FOLDER
//
// Listens on 127.0.0.1 at a free port, prints "port <n>", and answers each connection's GET with
// the file of FOLDER it names (200 with its length, or 404), written in large pieces straight from
// the mapped file, then closes the connection. Ends when its standard input closes.
#include <openssl/err.h>
#include <openssl/ssl.h>

#include <arpa/inet.h>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t Piece = 1 << 20;

bool writeAll(SSL* ssl, const char* data, std::size_t size) {
    while (size > 0) {
        const int n = SSL_write(ssl, data, int(std::min(size, Piece)));
        if (n <= 0)
            return false;
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

// The path of "GET /path HTTP/1.1", without any query; empty when it is no GET.
std::string requestedPath(const std::string& request) {
    if (request.rfind("GET /", 0) != 0)
        return {};
    const std::size_t end = request.find_first_of(" ?", 4);
    std::string path = request.substr(5, end == std::string::npos ? end : end - 5);
    if (path.find("..") != std::string::npos)
        return {};
    return path;
}

void serve(SSL* ssl, const std::string& folder) {
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        const int n = SSL_read(ssl, buffer, sizeof buffer);
        if (n <= 0)
            return;
        request.append(buffer, std::size_t(n));
    }
    const std::string path = requestedPath(request);
    const int fd = path.empty() ? -1 : open((folder + "/" + path).c_str(), O_RDONLY);
    struct stat info {};
    if (fd < 0 || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (fd >= 0)
            close(fd);
        const char* notFound = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n"
                               "Connection: close\r\n\r\n";
        writeAll(ssl, notFound, std::strlen(notFound));
        return;
    }
    const std::size_t size = std::size_t(info.st_size);
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n"
                             "Content-Length: " +
                             std::to_string(size) + "\r\nConnection: close\r\n\r\n";
    void* data = size ? mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0) : nullptr;
    close(fd);
    if (data == MAP_FAILED)
        return;
    if (writeAll(ssl, head.data(), head.size()) && size)
        writeAll(ssl, static_cast<const char*>(data), size);
    if (data)
        munmap(data, size);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s CERTIFICATE_CHAIN KEY FOLDER\n", argv[0]);
        return 2;
    }
    signal(SIGPIPE, SIG_IGN);
    SSL_CTX* context = SSL_CTX_new(TLS_server_method());
    if (!context || SSL_CTX_use_certificate_chain_file(context, argv[1]) != 1 ||
        SSL_CTX_use_PrivateKey_file(context, argv[2], SSL_FILETYPE_PEM) != 1) {
        ERR_print_errors_fp(stderr);
        return 1;
    }
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    const int yes = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 16) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        std::perror("listen");
        return 1;
    }
    std::printf("port %d\n", ntohs(address.sin_port));
    std::fflush(stdout);
    const std::string folder = argv[3];
    for (;;) {
        pollfd fds[2] = {{listener, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0)
            continue;
        if (fds[1].revents) {
            char c;
            if (read(STDIN_FILENO, &c, 1) <= 0)
                break;
        }
        if (!(fds[0].revents & POLLIN))
            continue;
        const int client = accept(listener, nullptr, nullptr);
        if (client < 0)
            continue;
        setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        SSL* ssl = SSL_new(context);
        SSL_set_fd(ssl, client);
        if (SSL_accept(ssl) == 1) {
            serve(ssl, folder);
            SSL_shutdown(ssl);
        }
        SSL_free(ssl);
        close(client);
    }
    SSL_CTX_free(context);
    return 0;
}
