// Inflating a gzip member, to check what the server compressed.
#pragma once

#include <zlib.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace mirelon::test {

inline std::string Gunzip(std::string_view member) {
  z_stream z{};
  if (inflateInit2(&z, 31) != Z_OK) throw std::runtime_error("inflateInit2");
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(member.data()));
  z.avail_in = static_cast<uInt>(member.size());
  std::string out;
  unsigned char buffer[16384];
  int code;
  do {
    z.next_out = buffer;
    z.avail_out = sizeof buffer;
    code = inflate(&z, Z_NO_FLUSH);
    out.append(reinterpret_cast<char*>(buffer), sizeof buffer - z.avail_out);
  } while (code == Z_OK);
  const bool whole = code == Z_STREAM_END && z.avail_in == 0;
  inflateEnd(&z);
  if (!whole) throw std::runtime_error("not one complete gzip member");
  return out;
}

}  // namespace mirelon::test
