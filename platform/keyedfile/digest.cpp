#include "platform/keyedfile/digest.h"

#include <openssl/evp.h>

namespace wevo::kf {

bool sha256(std::initializer_list<std::string_view> parts, Sha256& out) {
  EVP_MD_CTX* ctx = EVP_MD_CTX_new();
  if (ctx == nullptr) return false;
  bool ok = EVP_DigestInit_ex(ctx, EVP_sha256(), nullptr) == 1;
  for (std::string_view p : parts) ok = ok && EVP_DigestUpdate(ctx, p.data(), p.size()) == 1;
  unsigned int n = 0;
  ok = ok && EVP_DigestFinal_ex(ctx, out.data(), &n) == 1 && n == out.size();
  EVP_MD_CTX_free(ctx);
  return ok;
}

}  // namespace wevo::kf
