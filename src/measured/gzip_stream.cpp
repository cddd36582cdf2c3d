#include "measured/gzip_stream.h"

#include <zlib.h>

#include <memory>

#include "text/byte_size_text.h"
#include "text/error.h"

namespace orvane::measured {

namespace {

constexpr std::size_t outputBlock = 256 * 1024;

struct InflateStream {
    z_stream z{};
    InflateStream() {
        // 16 + MAX_WBITS: gzip headers only
        if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK) {
            throw std::bad_alloc();
        }
    }
    ~InflateStream() { inflateEnd(&z); }
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;
};

} // namespace

bool isGzip(std::string_view head) {
    return head.starts_with("\x1f\x8b");
}

void inflateGzip(const std::function<std::string()>& read,
                 const std::function<void(std::string_view)>& write, const std::string& fileName,
                 std::size_t limit) {
    InflateStream stream;
    z_stream& z = stream.z;
    std::string input;
    std::string output(outputBlock, '\0');
    std::size_t total = 0;
    bool ended = false; // the last member ended and no input followed it
    for (;;) {
        if (z.avail_in == 0) {
            input = read();
            if (input.empty()) {
                break;
            }
            if (ended) {
                // another member follows
                inflateReset(&z);
                ended = false;
            }
            z.next_in = reinterpret_cast<Bytef*>(input.data());
            z.avail_in = static_cast<uInt>(input.size());
        }
        z.next_out = reinterpret_cast<Bytef*>(output.data());
        z.avail_out = static_cast<uInt>(output.size());
        const int status = inflate(&z, Z_NO_FLUSH);
        const std::size_t produced = output.size() - z.avail_out;
        total += produced;
        if (total > limit) {
            throw text::Error(fileName + ": more than " + text::byteSizeText(limit) +
                              " unpacked; unpack it and open what is inside");
        }
        if (produced > 0) {
            write(std::string_view(output.data(), produced));
        }
        if (status == Z_STREAM_END) {
            ended = true;
            if (z.avail_in > 0) {
                inflateReset(&z);
                ended = false;
            }
        } else if (status != Z_OK && status != Z_BUF_ERROR) {
            throw text::Error(fileName + ": damaged compressed data (" +
                              (z.msg != nullptr ? std::string(z.msg) : std::string("zlib")) + ")");
        }
    }
    if (!ended) {
        throw text::Error(fileName + ": the compressed data ends early");
    }
}

} // namespace orvane::measured
