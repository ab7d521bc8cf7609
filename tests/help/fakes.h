#pragma once
// A registry and a program starter made of plain maps, recording how they
// were used, for the system-information lookup and the About window.

#include "platform/program_start.h"
#include "platform/registry.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

struct FakeValue {
    std::uint32_t type = platform::Registry::REG_SZ;
    std::string data; // the stored bytes, terminating NUL included if any
};

class FakeRegistry : public platform::Registry {
  public:
    static constexpr long ErrorFileNotFound = 2;
    static constexpr long ErrorAccessDenied = 5;
    static constexpr long ErrorInvalidHandle = 6;
    static constexpr long ErrorMoreData = 234;
    static constexpr std::uint32_t KeyWriteRights = 0x0002 | 0x0004 | 0x0020; // set, subkey, link

    // Values by key path under HKEY_LOCAL_MACHINE, then by value name.
    std::map<std::string, std::map<std::string, FakeValue>> keys;
    // Refuse opens that ask for write rights, as for a user without them.
    bool readOnlyUser = false;
    // A broken backend: answers success but reports this size.
    std::optional<std::uint32_t> reportedSize;
    bool throwOnQuery = false;

    int openCalls = 0;
    int closeCalls = 0;
    std::set<Handle> openKeys;
    std::vector<std::uint32_t> accessMasks;
    std::vector<std::uint32_t> sizesOnEntry;
    bool buffersWereClear = true;

    void setValue(const std::string& key, const std::string& name, std::uint32_t type,
                  const std::string& data) {
        keys[key][name] = FakeValue{type, data};
    }

    long RegOpenKeyExA(Handle root, const std::string& subKey, std::uint32_t, std::uint32_t access,
                       Handle& result) override {
        ++openCalls;
        accessMasks.push_back(access);
        if (root != HKEY_LOCAL_MACHINE || keys.count(subKey) == 0)
            return ErrorFileNotFound;
        if (readOnlyUser && (access & KeyWriteRights) != 0)
            return ErrorAccessDenied;
        result = nextHandle_++;
        handleKeys_[result] = subKey;
        openKeys.insert(result);
        return Success;
    }

    long RegQueryValueExA(Handle key, const std::string& valueName, std::uint32_t& type,
                          char* buffer, std::uint32_t& size) override {
        if (openKeys.count(key) == 0)
            return ErrorInvalidHandle;
        sizesOnEntry.push_back(size);
        buffersWereClear = buffersWereClear &&
                           std::all_of(buffer, buffer + size, [](char c) { return c == '\0'; });
        if (throwOnQuery)
            throw std::runtime_error("registry failure");
        const auto& values = keys.at(handleKeys_.at(key));
        const auto it = values.find(valueName);
        if (it == values.end())
            return ErrorFileNotFound;
        const FakeValue& value = it->second;
        type = value.type;
        if (value.data.size() > size) {
            size = static_cast<std::uint32_t>(value.data.size());
            return ErrorMoreData;
        }
        std::memcpy(buffer, value.data.data(), value.data.size());
        size = reportedSize.value_or(static_cast<std::uint32_t>(value.data.size()));
        return Success;
    }

    long RegCloseKey(Handle key) override {
        ++closeCalls;
        return openKeys.erase(key) == 1 ? Success : ErrorInvalidHandle;
    }

  private:
    Handle nextHandle_ = 0x100;
    std::map<Handle, std::string> handleKeys_;
};

class FakeStarter : public platform::ProgramStarter {
  public:
    std::set<std::string> files;
    std::set<std::string> startable;
    bool throwOnStart = false;
    bool throwOnIsFile = false;

    mutable std::vector<std::string> fileTests;
    std::vector<std::string> starts;

    bool isFile(const std::string& path) const override {
        fileTests.push_back(path);
        if (throwOnIsFile)
            throw std::runtime_error("file test failure");
        return files.count(path) != 0;
    }
    bool start(const std::string& path) override {
        starts.push_back(path);
        if (throwOnStart)
            throw std::runtime_error("start failure");
        return startable.count(path) != 0;
    }
};
