#pragma once
// A registry and a program starter made of plain maps, recording how they
// were used, for the system-information lookup and the About window.

#include "platform/program_start.h"
#include "platform/registry.h"

#include <QStringList>

#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

class FakeRegistry : public platform::Registry {
  public:
    enum : long { ErrorFileNotFound = 2, ErrorInvalidHandle = 6, ErrorMoreData = 234 };

    // Values (type, stored bytes) by key path under HKEY_LOCAL_MACHINE, then by name.
    std::map<std::string, std::map<std::string, std::pair<std::uint32_t, std::string>>> keys;
    std::optional<std::uint32_t> reportedSize; // a broken backend: success with this size
    bool throwOnQuery = false;

    int opens = 0;
    int closes = 0;
    std::set<std::uint32_t> accessMasks;
    std::set<Handle> openKeys;

    void set(const std::string& key, const std::string& name, std::uint32_t type,
             const std::string& data) {
        keys[key][name] = {type, data};
    }

    long RegOpenKeyExA(Handle root, const std::string& subKey, std::uint32_t, std::uint32_t access,
                       Handle& result) override {
        ++opens;
        accessMasks.insert(access);
        if (root != HkeyLocalMachine || keys.count(subKey) == 0)
            return ErrorFileNotFound;
        result = nextHandle_++;
        openKeys.insert(result);
        handleKeys_[result] = subKey;
        return NoError;
    }

    long RegQueryValueExA(Handle key, const std::string& valueName, std::uint32_t& type,
                          char* buffer, std::uint32_t& size) override {
        if (openKeys.count(key) == 0)
            return ErrorInvalidHandle;
        if (throwOnQuery)
            throw std::runtime_error("registry failure");
        const auto& values = keys.at(handleKeys_.at(key));
        const auto it = values.find(valueName);
        if (it == values.end())
            return ErrorFileNotFound;
        const auto& [valueType, data] = it->second;
        type = valueType;
        if (data.size() > size) {
            size = static_cast<std::uint32_t>(data.size());
            return ErrorMoreData;
        }
        std::memcpy(buffer, data.data(), data.size());
        size = reportedSize.value_or(static_cast<std::uint32_t>(data.size()));
        return NoError;
    }

    long RegCloseKey(Handle key) override {
        ++closes;
        return openKeys.erase(key) == 1 ? NoError : ErrorInvalidHandle;
    }

  private:
    Handle nextHandle_ = 0x100;
    std::map<Handle, std::string> handleKeys_;
};

class FakeStarter : public platform::ProgramStarter {
  public:
    std::set<std::string> files;     // what isFile finds
    std::set<std::string> startable; // what start starts
    std::string throwIn;             // "isFile" or "start": that call throws

    mutable QStringList calls; // "isFile <path>", "start <path>"

    bool isFile(const std::string& path) const override {
        calls << QString::fromStdString("isFile " + path);
        if (throwIn == "isFile")
            throw std::runtime_error("file test failure");
        return files.count(path) != 0;
    }
    bool start(const std::string& path) override {
        calls << QString::fromStdString("start " + path);
        if (throwIn == "start")
            throw std::runtime_error("start failure");
        return startable.count(path) != 0;
    }
};
