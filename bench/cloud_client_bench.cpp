// The firmware cloud client over loopback HTTPS against the local test server: one firmware list request,
// and one 1 MiB firmware image download. Each iteration is a full exchange with a fresh TLS connection.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "prelix10/setting/CloudFirmwareFunction.hpp"
#include "support/LocalCloudServer.hpp"

using namespace Prelix10;
using Prelix10Test::LocalCloudServer;

namespace {

CloudFirmwareFunction::Configuration configurationFor(const LocalCloudServer& server) {
    CloudFirmwareFunction::Configuration configuration;
    configuration.baseUrl = server.baseUrl();
    configuration.https.caFile = server.caFile();
    return configuration;
}

void BM_FirmwareInfoRequest(benchmark::State& state) {
    LocalCloudServer server;
    const auto configuration = configurationFor(server);
    for (auto _ : state) {
        auto reply = CloudFirmwareFunction::fetchFirmwareInfo("Harlo586KZ-HF", configuration);
        if (reply.first != CloudFirmwareFunction::Result::success) state.SkipWithError("request failed");
        benchmark::DoNotOptimize(reply);
    }
}
BENCHMARK(BM_FirmwareInfoRequest)->Unit(benchmark::kMillisecond);

void BM_FirmwareImageDownload1MiB(benchmark::State& state) {
    LocalCloudServer server;
    std::vector<std::uint8_t> image(1024 * 1024);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 31 + 7);
    server.setFirmwareImage(image);
    const auto configuration = configurationFor(server);
    for (auto _ : state) {
        auto reply = CloudFirmwareFunction::fetchFirmwareData("Harlo586KZ-HF", configuration);
        if (!reply.second || reply.second->size() != image.size()) state.SkipWithError("download failed");
        benchmark::DoNotOptimize(reply);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(image.size()));
}
BENCHMARK(BM_FirmwareImageDownload1MiB)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
