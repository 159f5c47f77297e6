// Every codec in both directions over the corpus; throughput counts plain bytes.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "archive/codec/Methods.h"
#include "archive/codec/ProcessStream.h"

namespace {

using Bytes = std::vector<uint8_t>;

const Bytes& Corpus(const std::string& name) {
    static std::map<std::string, Bytes> cache;
    auto it = cache.find(name);
    if (it != cache.end()) return it->second;
    std::ifstream in(std::string(KELP_BENCH_CORPUS) + "/" + name, std::ios::binary);
    if (!in) throw std::runtime_error("corpus file missing: " + name);
    Bytes data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return cache.emplace(name, std::move(data)).first->second;
}

// Unbounded output so incompressible input is measured too (the codec run itself
// would stop it at the budget).
Bytes Compress(uint8_t method, const Bytes& plain) {
    kelp::TCodecState st;
    kelp::MemoryStream src(plain), dst;
    dst.Bytes().reserve(plain.size() + plain.size() / 8 + 64);
    st.Source = &src;
    st.Dest = &dst;
    st.InBuffer.reset(new uint8_t[kelp::kCodecChunk]);
    st.OutBuffer.reset(new uint8_t[kelp::kCodecChunk]);
    st.InPos = st.InEnd = st.InBuffer.get();
    st.OutPos = st.OutBuffer.get();
    st.OutEnd = st.OutPos + kelp::kCodecChunk;
    st.InRemaining = static_cast<int32_t>(plain.size());
    st.OutBudget = 0x7FFFFFFF;
    switch (method) {
        case kelp::kMethodRle: kelp::CompressRle(st); break;
        case kelp::kMethodLzh: kelp::CompressLzh(st); break;
        case kelp::kMethodLh5: kelp::CompressLh5(st); break;
        default: kelp::CopyStored(st); break;
    }
    st.FlushTail();
    return std::move(dst.Bytes());
}

void BM_Compress(benchmark::State& state, uint8_t method, const char* corpus) {
    const Bytes& plain = Corpus(corpus);
    size_t coded = 0;
    for (auto _ : state) {
        const Bytes out = Compress(method, plain);
        coded = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(plain.size()));
    state.counters["ratio"] = static_cast<double>(coded) / static_cast<double>(plain.size());
}

void BM_Expand(benchmark::State& state, uint8_t method, const char* corpus) {
    const Bytes& plain = Corpus(corpus);
    const Bytes coded = Compress(method, plain);
    for (auto _ : state) {
        kelp::TCodecState st;
        kelp::MemoryStream src(coded), dst;
        dst.Bytes().reserve(plain.size() + 512);
        uint32_t sum = 0;
        kelp::ProcessStream(st, dst, src, static_cast<int32_t>(coded.size()), static_cast<int32_t>(plain.size()),
                            method, sum, kelp::kExpand, false, nullptr, 0);
        if (dst.Bytes().size() < plain.size()) state.SkipWithError("short output");
        benchmark::DoNotOptimize(dst.Bytes().data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(plain.size()));
}

void RegisterAll() {
    struct M {
        const char* name;
        uint8_t id;
    };
    for (M m : {M{"NON", kelp::kMethodNone}, M{"RLE", kelp::kMethodRle}, M{"LZH", kelp::kMethodLzh},
                M{"LH5", kelp::kMethodLh5}}) {
        for (const char* corpus : {"text", "exe", "random"}) {
            benchmark::RegisterBenchmark((std::string("Compress/") + m.name + "/" + corpus).c_str(), BM_Compress,
                                         m.id, corpus)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark((std::string("Expand/") + m.name + "/" + corpus).c_str(), BM_Expand, m.id,
                                         corpus)
                ->Unit(benchmark::kMillisecond);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
