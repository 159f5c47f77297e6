// Runs one codec over files, for timing against other tools from the shell:
//   kelp_codec_tool compress METHOD IN OUT      (raw stream, no budget)
//   kelp_codec_tool expand METHOD IN OUT SIZE   (SIZE = plain size)
// METHOD is non, rle, lzh or lh5.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "archive/FileSystem.h"
#include "archive/codec/Methods.h"
#include "archive/codec/ProcessStream.h"

namespace {

int MethodByte(const std::string& name) {
    if (name == "non") return kelp::kMethodNone;
    if (name == "rle") return kelp::kMethodRle;
    if (name == "lzh") return kelp::kMethodLzh;
    if (name == "lh5") return kelp::kMethodLh5;
    return -1;
}

int Usage() {
    std::fputs("usage: kelp_codec_tool compress METHOD IN OUT | expand METHOD IN OUT SIZE\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) return Usage();
    const std::string command = argv[1];
    const int method = MethodByte(argv[2]);
    if (method < 0 || (command != "compress" && command != "expand") || (command == "expand" && argc < 6))
        return Usage();
    try {
        auto in = kelp::fs::OpenFileRead(argv[3]);
        auto out = kelp::fs::CreateNewFile(argv[4]);
        const auto inSize = static_cast<int32_t>(in->Size());
        kelp::TCodecState st;
        if (command == "compress") {
            // The codec run's routine without its budget: incompressible input is timed too.
            st.Source = in.get();
            st.Dest = out.get();
            st.InBuffer.reset(new uint8_t[kelp::kCodecChunk]);
            st.OutBuffer.reset(new uint8_t[kelp::kCodecChunk]);
            st.InPos = st.InEnd = st.InBuffer.get();
            st.OutPos = st.OutBuffer.get();
            st.OutEnd = st.OutPos + kelp::kCodecChunk;
            st.InRemaining = inSize;
            st.OutBudget = 0x7FFFFFFF;
            switch (method) {
                case kelp::kMethodRle: kelp::CompressRle(st); break;
                case kelp::kMethodLzh: kelp::CompressLzh(st); break;
                case kelp::kMethodLh5: kelp::CompressLh5(st); break;
                default: kelp::CopyStored(st); break;
            }
            st.FlushTail();
        } else {
            uint32_t sum = 0;
            kelp::ProcessStream(st, *out, *in, inSize, std::atoi(argv[5]), static_cast<uint8_t>(method), sum,
                                kelp::kExpand, false, nullptr, 0);
        }
        out->Close();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kelp_codec_tool: %s\n", e.what());
        return 1;
    }
    return 0;
}
