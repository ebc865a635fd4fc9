// Helpers of the signing tests: a throw-away certificate authority and the
// certificates signed with, made by tools/make-test-certificates for each
// test; the signing options that use them; and a time-stamping authority on
// the loopback interface, started and ended by the test.
#pragma once

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "kit/run_program.h"
#include "kit/signing/signing_options.h"
#include "kit_test_support.h"

namespace kit_test {

// The certificates of tools/make-test-certificates, fresh in a folder of
// the test's own.
class TestCertificates {
 public:
  TestCertificates() : m_dir(m_temp.Path() / "certificates") {
    const std::string command = ShellQuoted(MAKE_TEST_CERTIFICATES) + " " + ShellQuoted(m_dir.string());
    m_made = std::system(command.c_str()) == 0;
  }

  bool Made() const { return m_made; }
  std::string Path(const std::string& name) const { return (m_dir / name).string(); }
  std::string Password() const { return "kit test pass phrase"; }

  kit::SigningOptions Pkcs12() const {
    kit::SigningOptions options;
    options.pkcs12File = Path("signer.p12");
    options.passwordFile = Path("password.txt");
    return options;
  }
  kit::SigningOptions Pem(const std::string& certificate = "signer.crt", const std::string& key = "signer.key") const {
    kit::SigningOptions options;
    options.certificateFile = Path(certificate);
    options.keyFile = Path(key);
    return options;
  }

 private:
  TempFolder m_temp;
  fs::path m_dir;
  bool m_made = false;
};

// An RFC 3161 time-stamping authority at http://127.0.0.1:PORT/: a thread
// that answers each POST of a timestamp query with `openssl ts -reply`,
// signed with the test certificates' time-stamping certificate. One request
// per connection, as the signing tool sends them.
class LocalTimeStampAuthority {
 public:
  explicit LocalTimeStampAuthority(const TestCertificates& certificates)
      : m_certificates(certificates), m_work(m_temp.Path()) {
    m_socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;  // any free port
    socklen_t size = sizeof address;
    const bool listening = m_socket >= 0 && ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
                           ::listen(m_socket, kBacklog) == 0 &&
                           ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &size) == 0;
    EXPECT_TRUE(listening) << "the time-stamping authority cannot listen on the loopback interface";
    m_port = ntohs(address.sin_port);
    if (listening) m_thread = std::thread([this] { Serve(); });
  }
  ~LocalTimeStampAuthority() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    if (m_socket >= 0) ::close(m_socket);
  }
  LocalTimeStampAuthority(const LocalTimeStampAuthority&) = delete;
  LocalTimeStampAuthority& operator=(const LocalTimeStampAuthority&) = delete;

  std::string Url() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/"; }
  int Answered() const { return m_answered; }

 private:
  static constexpr int kBacklog = 4;
  static constexpr int kPollMs = 50;
  static constexpr size_t kChunkBytes = 4096;
  static constexpr std::chrono::seconds kReplyTimeout{30};

  void Serve() {
    while (!m_stop) {
      pollfd wanted = {m_socket, POLLIN, 0};
      if (::poll(&wanted, 1, kPollMs) <= 0) continue;
      const int connection = ::accept4(m_socket, nullptr, nullptr, SOCK_CLOEXEC);
      if (connection < 0) continue;
      Answer(connection);
      ::close(connection);
    }
  }

  // Reads the request: headers, then as many bytes as Content-Length says.
  static std::string ReadBody(int connection) {
    std::string request;
    char chunk[kChunkBytes];
    size_t headerEnd = std::string::npos;
    size_t length = 0;
    for (;;) {
      if (headerEnd != std::string::npos && request.size() >= headerEnd + length) break;
      const ssize_t got = ::recv(connection, chunk, sizeof chunk, 0);
      if (got <= 0) return std::string();
      request.append(chunk, static_cast<size_t>(got));
      if (headerEnd == std::string::npos && (headerEnd = request.find("\r\n\r\n")) != std::string::npos) {
        headerEnd += 4;
        std::string headers = request.substr(0, headerEnd);
        for (char& ch : headers) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        const size_t field = headers.find("content-length:");
        if (field == std::string::npos) return std::string();
        length = std::stoul(headers.substr(field + std::string("content-length:").size()));
      }
    }
    return request.substr(headerEnd, length);
  }

  void Answer(int connection) {
    const std::string query = ReadBody(connection);
    const fs::path queryFile = m_work / "query.tsq";
    const fs::path replyFile = m_work / "reply.tsr";
    WriteBytes(queryFile, query);
    fs::remove(replyFile);
    const kit::ProgramRun run = kit::RunProgram(
        {"openssl", "ts", "-reply", "-config", m_certificates.Path("tsa.cnf"), "-queryfile", queryFile.string(),
         "-inkey", m_certificates.Path("tsa.key"), "-signer", m_certificates.Path("tsa.crt"), "-chain",
         m_certificates.Path("ca.crt"), "-out", replyFile.string()},
        kReplyTimeout);
    const std::string reply = run.Succeeded() ? ReadBytes(replyFile) : std::string();
    const std::string answer =
        (reply.empty() ? std::string("HTTP/1.0 500 No timestamp\r\n") : std::string("HTTP/1.0 200 OK\r\n")) +
        "Content-Type: application/timestamp-reply\r\nContent-Length: " + std::to_string(reply.size()) +
        "\r\nConnection: close\r\n\r\n" + reply;
    size_t sent = 0;
    while (sent < answer.size()) {
      const ssize_t wrote = ::send(connection, answer.data() + sent, answer.size() - sent, MSG_NOSIGNAL);
      if (wrote <= 0) return;
      sent += static_cast<size_t>(wrote);
    }
    if (!reply.empty()) ++m_answered;
  }

  const TestCertificates& m_certificates;
  TempFolder m_temp;
  fs::path m_work;
  int m_socket = -1;
  int m_port = 0;
  std::atomic<bool> m_stop{false};
  std::atomic<int> m_answered{0};
  std::thread m_thread;
};

// A loopback port where nothing listens: a time-stamping authority that
// does not answer.
inline int ClosedPort() {
  const int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ::bind(probe, reinterpret_cast<sockaddr*>(&address), size);
  ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
  ::close(probe);
  return ntohs(address.sin_port);
}

}  // namespace kit_test
