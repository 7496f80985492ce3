// A store on a PostgreSQL server that cannot be used: out of reach, or
// refusing the role's password. The user is told once per call, in a message
// that names the server and never a password; a server out of reach ends no
// program (the window opens as designed, design mode does not start); a
// refused password is reported as a file's wrong password is.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/keyedfile/test_stores.h"
#include "tests/reliability/answering_view.h"
#include "tests/reliability/host_windows.h"
#include "tests/reliability/store_outcome.h"
#include "wevo/toolkit.h"
#include "wevo/wevo.h"

namespace wevo::reliability {
namespace {

constexpr const char* kSecret = "Topsecret99";

// A port on 127.0.0.1 that nothing listens on: one the system just gave out
// and took back.
int closedPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t n = sizeof a;
  int port = 1;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n) == 0)
    port = ntohs(a.sin_port);
  ::close(fd);
  return port;
}

WindowDecl formWindow() {
  WindowDecl d = windowOf("Form", 3);
  d.controls[0].text = "Designed";
  return d;
}

// The lines of the transcript that mention the secret.
std::vector<std::string> mentioning(const ProgramResult& r, const std::string& secret) {
  std::vector<std::string> out;
  for (const std::string& line : r.transcript)
    if (line.find(secret) != std::string::npos) out.push_back(line);
  return out;
}

TEST(ServerStore, AServerOutOfReachIsReportedOnceACallNamingItAndTheProgramGoesOn) {
  const std::string host = "127.0.0.1:" + std::to_string(closedPort());
  // The password in the address, and in PASSWORD beside an address without one.
  for (const auto& [to, with] :
       {std::pair{"postgresql://wevo:" + std::string(kSecret) + "@" + host + "/office", std::string("")},
        std::pair{"postgres://wevo@" + host + "/office?sslmode=prefer", std::string(kSecret)}}) {
    const std::string address = to, password = with;
    std::string shownText;
    bool designReturned = false;
    ProgramResult r = run(
        [&] {
          Window w(formWindow());
          w.open();
          WEVOSETTINGS settings = settingsFor(address, password);
          WEVO::SETWINDOWCONTROLS(w, "Form", "Desk", settings);
          WEVO::SETWINDOWCONTROLS(w, "Form", "Desk", settings);
          shownText = w.get(1, PROP::Text).str();
          WEVO::PROCESSWINDOW(w, 1, "Form", "Desk", settings);
          designReturned = true;
        },
        programOptions(answeringView()));
    std::string why;
    EXPECT_EQ(outcomeOf(r, &why), Outcome::kReportedAndWentOn) << why << "\n" << describe(r);
    EXPECT_TRUE(designReturned) << "design mode does not start without its store";
    EXPECT_EQ(shownText, "Designed");
    // One message per call: two window opens and the design request.
    ASSERT_EQ(r.transcript.size(), 3u) << describe(r);
    for (const std::string& line : r.transcript) {
      EXPECT_EQ(line.rfind("message \"File Access Error\" \"File (postgres", 0), 0u) << line;
      EXPECT_NE(line.find(host), std::string::npos) << "the message names the server: " << line;
      EXPECT_NE(line.find("#SALES.wevo) could not be opened.  Error: "), std::string::npos) << line;
    }
    EXPECT_EQ(mentioning(r, kSecret), std::vector<std::string>{}) << "no password in a message";
  }
}

TEST(ServerStore, ARefusedPasswordEndsTheProgramAsAFilesWrongPasswordAndIsNeverShown) {
  kf::testing::TestStores stores(kf::testing::StoreKind::kServer);
  WEVO_SKIP_WITHOUT_STORES(stores);
  const std::string program = stores.program().path;
  const std::string wrong = std::string(kSecret) + "-wrong";
  // The address carries the wrong password: it wins over the right one in
  // PASSWORD, and neither shows.
  std::string address = stores.location();
  address.insert(address.find("://") + 3 + std::string("wevo").size(), ":" + wrong);
  ProgramResult r = run(
      [&] {
        Window w(formWindow());
        w.open();
        WEVOSETTINGS settings = settingsFor(address, stores.password());
        WEVO::SETWINDOWCONTROLS(w, "Form", "Desk", settings);
      },
      programOptions(answeringView(), program));
  std::string why;
  EXPECT_EQ(outcomeOf(r, &why), Outcome::kEnded) << why << "\n" << describe(r);
  EXPECT_EQ(r.haltText, "Disk Error");
  ASSERT_FALSE(r.transcript.empty());
  EXPECT_NE(r.transcript[0].find("Error: File cannot be read with this password (36)."), std::string::npos)
      << r.transcript[0];
  EXPECT_EQ(mentioning(r, wrong), std::vector<std::string>{});
  EXPECT_EQ(mentioning(r, stores.password()), std::vector<std::string>{});
}

}  // namespace
}  // namespace wevo::reliability
