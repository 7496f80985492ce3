#include "platform/keyedfile/server_name.h"

#include <libpq-fe.h>

#include <algorithm>
#include <string>
#include <vector>

namespace wevo::kf {
namespace {

constexpr std::string_view kSchemes[] = {"postgresql://", "postgres://"};

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// URI percent-decoding, as the client library reads user information and
// parameters.
std::string decoded(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size()) {
      const int hi = hexValue(s[i + 1]), lo = hexValue(s[i + 2]);
      if (hi >= 0 && lo >= 0) {
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
        continue;
      }
    }
    out.push_back(s[i]);
  }
  return out;
}

}  // namespace

bool isServerName(std::string_view name) {
  for (std::string_view scheme : kSchemes)
    if (name.substr(0, scheme.size()) == scheme) return true;
  return false;
}

ServerUri splitServerUri(std::string_view uri) {
  ServerUri out;
  size_t schemeEnd = 0;
  for (std::string_view scheme : kSchemes)
    if (uri.substr(0, scheme.size()) == scheme) schemeEnd = scheme.size();
  if (schemeEnd == 0) {
    out.problem = "not a postgresql:// or postgres:// address";
    return out;
  }
  if (uri.find('#') != std::string_view::npos) {
    out.problem = "a server's address holds no '#'";
    return out;
  }
  // scheme, authority (up to the first '/' or '?'), path, query.
  const size_t authorityEnd = std::min(uri.find_first_of("/?", schemeEnd), uri.size());
  std::string_view authority = uri.substr(schemeEnd, authorityEnd - schemeEnd);
  std::string_view rest = uri.substr(authorityEnd);
  std::string password;
  bool hasPassword = false;
  std::string clean(uri.substr(0, schemeEnd));
  const size_t at = authority.rfind('@');
  if (at != std::string_view::npos) {
    std::string_view userinfo = authority.substr(0, at);
    const size_t colon = userinfo.find(':');
    if (colon != std::string_view::npos) {
      password = decoded(userinfo.substr(colon + 1));
      hasPassword = true;
      userinfo = userinfo.substr(0, colon);
    }
    clean += std::string(userinfo) + "@" + std::string(authority.substr(at + 1));
  } else {
    clean += std::string(authority);
  }
  const size_t question = rest.find('?');
  clean += std::string(rest.substr(0, question));
  if (question != std::string_view::npos) {
    std::string_view query = rest.substr(question + 1);
    std::vector<std::string_view> kept;
    while (!query.empty()) {
      const size_t amp = query.find('&');
      std::string_view item = query.substr(0, amp);
      query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
      const size_t eq = item.find('=');
      if (decoded(item.substr(0, eq)) == "password") {
        password = eq == std::string_view::npos ? std::string() : decoded(item.substr(eq + 1));
        hasPassword = true;
        continue;
      }
      if (!item.empty()) kept.push_back(item);
    }
    for (size_t i = 0; i < kept.size(); ++i) clean += (i == 0 ? "?" : "&") + std::string(kept[i]);
  }
  out.password = hasPassword ? Secret(password) : Secret();
  std::fill(password.begin(), password.end(), '\0');
  // The client library is the judge of what it accepts.
  char* why = nullptr;
  PQconninfoOption* options = PQconninfoParse(clean.c_str(), &why);
  if (options == nullptr) {
    out.problem = why != nullptr ? std::string(why) : std::string("not a connection address");
    while (!out.problem.empty() && (out.problem.back() == '\n' || out.problem.back() == ' ')) out.problem.pop_back();
    PQfreemem(why);
    out.password = Secret();
    return out;
  }
  PQconninfoFree(options);
  out.uri = std::move(clean);
  return out;
}

std::string serverStoreName(std::string_view uri, std::string_view schema) {
  return std::string(uri) + "#" + std::string(schema.substr(0, kServerSchemaWidth));
}

std::optional<ServerStore> parseServerStoreName(std::string_view name) {
  if (!isServerName(name)) return std::nullopt;
  const size_t hash = name.rfind('#');
  if (hash == std::string_view::npos || hash + 1 >= name.size()) return std::nullopt;
  return ServerStore{std::string(name.substr(0, hash)), std::string(name.substr(hash + 1))};
}

}  // namespace wevo::kf
