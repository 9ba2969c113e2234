#include "support/VirtualPrinterSpooler.hpp"

#include <algorithm>

namespace Prelix10::Testing {

namespace {

void put(Bytes& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint64_t get(std::span<const std::uint8_t> in, std::size_t offset, int bytes) {
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<std::uint64_t>(in[offset + static_cast<std::size_t>(i)]) << (8 * i);
    return value;
}

Bytes framed(std::uint8_t fourth, const Bytes& body) {
    Bytes out{0x1B, 0x1D, 0x29, fourth};
    put(out, body.size(), 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

void putRecord(Bytes& out, const StoredSpoolJob& job) {
    put(out, job.jobId, 2);
    out.push_back(job.stateCode);
    put(out, job.elapsedTime, 4);
    out.push_back(job.interfaceCode);
    out.push_back(job.retry ? 0x01 : 0x00);
    put(out, job.timeout, 2);
    put(out, job.additionalInfo.size(), 2);
    out.insert(out.end(), job.additionalInfo.begin(), job.additionalInfo.end());
}

}  // namespace

VirtualPrinterSpooler::VirtualPrinterSpooler(VirtualPrinterEngine& engine) {
    documents_[0x23] = "{}";
    documents_[0x3B] = "{}";
    engine.addRequestHandler([this](std::span<const std::uint8_t> bytes) { return handle(bytes); });
}

RequestMatch VirtualPrinterSpooler::handle(std::span<const std::uint8_t> bytes) {
    RequestMatch match;
    static const std::uint8_t prefix[3] = {0x1B, 0x1D, 0x29};
    const std::size_t common = std::min<std::size_t>(bytes.size(), 3);
    if (!std::equal(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(common), prefix)) return match;
    if (bytes.size() < 4) {
        match.kind = RequestMatch::Kind::needMore;
        return match;
    }
    const std::uint8_t kind = bytes[3];
    if (kind != 0x20 && kind != 0x23 && kind != 0x3B) return match;
    if (bytes.size() < 8) {
        match.kind = RequestMatch::Kind::needMore;
        return match;
    }
    const std::uint64_t count = get(bytes, 4, 4);
    if (bytes.size() - 8 < count) {
        match.kind = RequestMatch::Kind::needMore;
        return match;
    }
    const auto body = bytes.subspan(8, static_cast<std::size_t>(count));
    std::lock_guard lock(mutex_);
    ++requests_;
    match.kind = RequestMatch::Kind::handled;
    match.consumed = 8 + static_cast<std::size_t>(count);
    Bytes reply = kind == 0x20 ? spoolerReply(body) : configurationReply(kind, body);
    if (nextReply_) {
        reply = std::move(*nextReply_);
        nextReply_.reset();
    }
    if (late_) {
        // The held answer first, and this one held in its place.
        std::swap(reply, held_);
    }
    if (!silent_) match.reply = std::move(reply);
    return match;
}

Bytes VirtualPrinterSpooler::spoolerReply(std::span<const std::uint8_t> body) {
    if (body.empty()) return {};
    Bytes out{body[0]};
    switch (body[0]) {
        case 0x30: {  // spool print: retry, timeout, J, text, data
            if (body.size() < 6) return {};
            const auto textLength = static_cast<std::size_t>(get(body, 4, 2));
            if (body.size() - 6 < textLength) return {};
            if (refusal_ || !enabled_) {
                put(out, 0, 2);
                out.push_back(0x01);
                out.push_back(refusal_.value_or(3));
                return framed(0x20, out);
            }
            StoredSpoolJob job;
            job.jobId = nextJobId_++;
            job.retry = body[1] == 0x01;
            job.timeout = static_cast<std::uint16_t>(get(body, 2, 2));
            job.additionalInfo.assign(body.begin() + 6,
                                      body.begin() + 6 + static_cast<std::ptrdiff_t>(textLength));
            job.data.assign(body.begin() + 6 + static_cast<std::ptrdiff_t>(textLength), body.end());
            jobs_[job.jobId] = job;
            put(out, job.jobId, 2);
            out.push_back(0x00);
            out.push_back(0x00);
            return framed(0x20, out);
        }
        case 0x31: {  // job status of one id
            if (body.size() < 3) return {};
            const auto id = static_cast<std::uint16_t>(get(body, 1, 2));
            put(out, id, 2);
            const auto found = jobs_.find(id);
            if (!enabled_) {
                out.push_back(0x02);
            } else if (found == jobs_.end()) {
                out.push_back(0x01);
            } else {
                out.push_back(0x00);
                Bytes record;
                putRecord(record, found->second);
                out.insert(out.end(), record.begin() + 2, record.end());  // the id is already in front
            }
            return framed(0x20, out);
        }
        case 0x32: {  // job status list of up to size jobs
            if (body.size() < 3) return {};
            const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(get(body, 1, 2), 2000));
            const std::size_t n = enabled_ ? std::min(size, jobs_.size()) : 0;
            put(out, n, 2);
            out.push_back(enabled_ ? 0x00 : 0x01);
            std::size_t written = 0;
            for (const auto& [id, job] : jobs_) {
                if (written++ == n) break;
                putRecord(out, job);
            }
            return framed(0x20, out);
        }
        default:
            return {};
    }
}

Bytes VirtualPrinterSpooler::configurationReply(std::uint8_t area, std::span<const std::uint8_t> body) {
    if (body.empty()) return {};
    if (body[0] == 0x30 && area == 0x23) {  // set: the document follows
        if (setResult_ == 0x00) documents_[area].assign(body.begin() + 1, body.end());
        return framed(0x23, Bytes{0x30, setResult_, setDetail_});
    }
    if (body[0] == 0x31) {  // get: the password follows
        lastPassword_.assign(body.begin() + 1, body.end());
        const std::string& text = documents_[area];
        Bytes reply{0x31};
        reply.insert(reply.end(), text.begin(), text.end());
        return framed(area, reply);
    }
    return {};
}

void VirtualPrinterSpooler::setSpoolerEnabled(bool enabled) {
    std::lock_guard lock(mutex_);
    enabled_ = enabled;
}

void VirtualPrinterSpooler::setRefusalNumber(std::optional<std::uint8_t> number) {
    std::lock_guard lock(mutex_);
    refusal_ = number;
}

void VirtualPrinterSpooler::storeJob(const StoredSpoolJob& job) {
    std::lock_guard lock(mutex_);
    jobs_[job.jobId] = job;
}

std::vector<StoredSpoolJob> VirtualPrinterSpooler::jobs() {
    std::lock_guard lock(mutex_);
    std::vector<StoredSpoolJob> out;
    for (const auto& [id, job] : jobs_) out.push_back(job);
    return out;
}

void VirtualPrinterSpooler::setNextJobId(std::uint16_t id) {
    std::lock_guard lock(mutex_);
    nextJobId_ = id;
}

void VirtualPrinterSpooler::setDocument(std::uint8_t area, std::string document) {
    std::lock_guard lock(mutex_);
    documents_[area] = std::move(document);
}

std::string VirtualPrinterSpooler::document(std::uint8_t area) {
    std::lock_guard lock(mutex_);
    return documents_[area];
}

void VirtualPrinterSpooler::setSetReply(std::uint8_t result, std::uint8_t detail) {
    std::lock_guard lock(mutex_);
    setResult_ = result;
    setDetail_ = detail;
}

std::string VirtualPrinterSpooler::lastPassword() {
    std::lock_guard lock(mutex_);
    return lastPassword_;
}

void VirtualPrinterSpooler::setRepliesOneRequestLate(bool late) {
    std::lock_guard lock(mutex_);
    late_ = late;
    if (!late) held_.clear();
}

void VirtualPrinterSpooler::setSilent(bool silent) {
    std::lock_guard lock(mutex_);
    silent_ = silent;
}

void VirtualPrinterSpooler::replaceNextReply(Bytes reply) {
    std::lock_guard lock(mutex_);
    nextReply_ = std::move(reply);
}

std::size_t VirtualPrinterSpooler::requestCount() {
    std::lock_guard lock(mutex_);
    return requests_;
}

}  // namespace Prelix10::Testing
