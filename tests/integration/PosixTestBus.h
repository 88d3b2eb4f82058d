// A private simulated bus and lock root for one test of the POSIX platform:
// a fresh temporary folder, TRELOX_USB_BUS and TRELOX_LOCK_DIR pointed into
// it while the object lives, and device markers put and taken as a device
// does it.
#pragma once

#include <string>

#include "BusEnvironment.h"

class PosixTestBus {
public:
    // The interface class suffix every marker name ends with.
    static const char kClassSuffix[];

    // `busName` is the bus folder's name inside the temporary folder; the bus
    // folder itself is not created, as on a machine where no device ran yet.
    explicit PosixTestBus(const std::string& busName = "bus");
    ~PosixTestBus();
    PosixTestBus(const PosixTestBus&) = delete;
    PosixTestBus& operator=(const PosixTestBus&) = delete;

    const std::string& Root() const { return m_root; }
    const std::string& BusPath() const { return m_busPath; }
    const std::string& LockPath() const { return m_lockPath; }

    void CreateBus() const;
    // Creates the marker of `interfacePath` atomically (dot file, renamed).
    void PutMarker(const std::string& interfacePath) const;
    void RemoveMarker(const std::string& interfacePath) const;
    // An empty regular file in the bus folder.
    void PutFile(const std::string& name) const;

private:
    std::string m_root;
    std::string m_busPath;
    std::string m_lockPath;
    BusEnvironment m_environment;
};
