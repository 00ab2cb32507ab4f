// Shared by the driver tests: a driver at a fixed time, and buffers with
// guard bytes on both sides so an overrun shows.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "sim/driver/core/kvtouch_driver.h"

namespace kvtest {

class GuardedBuffer {
public:
    static constexpr std::size_t kGuard = 32;
    static constexpr std::uint8_t kGuardByte = 0xCC;

    explicit GuardedBuffer(std::size_t size, std::uint8_t fill = 0x5A)
        : size_(size), bytes_(size + 2 * kGuard, kGuardByte) {
        std::memset(data(), fill, size);
    }
    std::uint8_t* data() { return bytes_.data() + kGuard; }
    std::size_t size() const { return size_; }
    bool GuardsIntact() const {
        for (std::size_t i = 0; i < kGuard; ++i)
            if (bytes_[i] != kGuardByte || bytes_[kGuard + size_ + i] != kGuardByte) return false;
        return true;
    }
    bool AllBytesAre(std::uint8_t value) const {
        for (std::size_t i = 0; i < size_; ++i)
            if (bytes_[kGuard + i] != value) return false;
        return true;
    }
    template <typename T>
    T As() const {
        T value;
        std::memcpy(&value, bytes_.data() + kGuard, sizeof value);
        return value;
    }

private:
    std::size_t size_;
    std::vector<std::uint8_t> bytes_;
};

class DriverTest : public ::testing::Test {
protected:
    DriverTest() : driver_(std::make_unique<KvDriver>()) { kvd_init(driver_.get(), now); }

    KvDriver& d() { return *driver_; }

    std::uint32_t Send(std::uint32_t code, void* buffer, std::uint32_t in, std::uint32_t out,
                       std::uint32_t* returned = nullptr) {
        std::uint32_t ignored = 0;
        return kvd_dispatch(driver_.get(), now, code, buffer, in, out, returned ? returned : &ignored);
    }

    // A request whose input and output are one record, as the programs send it.
    template <typename T>
    std::uint32_t Exchange(std::uint32_t code, T& record, std::uint32_t* returned = nullptr) {
        return Send(code, &record, sizeof record, sizeof record, returned);
    }

    template <typename T>
    std::uint32_t SendPrivate(std::uint32_t code, const T& record) {
        T copy = record;
        return Send(code, &copy, sizeof copy, 0);
    }

    TouchParams GetParams() {
        TouchParams p{};
        EXPECT_EQ(Exchange(KV_IOCTL_GET_PARAMS, p), KVD_STATUS_SUCCESS);
        return p;
    }

    TouchState GetTouchState() {
        TouchState s{};
        EXPECT_EQ(Exchange(KV_IOCTL_GET_TOUCH_STATE, s), KVD_STATUS_SUCCESS);
        return s;
    }

    AgentRegistration GetAgent() {
        AgentRegistration a{};
        EXPECT_EQ(Exchange(KV_IOCTL_GET_AGENT_WINDOW, a), KVD_STATUS_SUCCESS);
        return a;
    }

    KvSimState State() {
        KvSimState s;
        kvd_read_state(driver_.get(), now, &s);
        return s;
    }

    std::vector<KvSimLogEntry> Log(std::uint32_t since = 0) {
        std::vector<KvSimLogEntry> entries(KVL_CAPACITY);
        KvSimLogHeader header;
        kvl_read(&driver_->log, since, entries.data(), KVL_CAPACITY, &header);
        entries.resize(header.Count);
        return entries;
    }

    std::uint64_t now = 5000;

private:
    std::unique_ptr<KvDriver> driver_;
};

inline std::vector<std::uint8_t> Bytes(const void* p, std::size_t n) {
    auto b = static_cast<const std::uint8_t*>(p);
    return std::vector<std::uint8_t>(b, b + n);
}

}  // namespace kvtest
