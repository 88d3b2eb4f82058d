// Where the named mutexes live: one lock file per name under the lock root
// (TRELOX_LOCK_DIR, else /tmp/trelox-locks), "global/" for the machine-wide
// namespace and "local-<uid>/" for the user's own.
#pragma once

#include <string>

class CLockDirectory {
public:
    // Resolves the root from the environment at the time of the call.
    CLockDirectory();

    // The lock file of a mutex name ("Global\X", "Local\X" or "X"), with the
    // folders it lies in created when missing. 0 with *path set, or an errno
    // (EINVAL for an empty name).
    int PrepareLockFile(const std::string& mutexName, std::string* path) const;

    // The name as it appears in the folder: every byte but A-Z a-z 0-9 . _ -
    // as %XX. "." and ".." are escaped whole, since they name folders.
    static std::string Escape(const std::string& name);

private:
    // Creates `path` when missing and gives it `mode` whatever the umask.
    static int CreateFolder(const std::string& path, unsigned mode);
    // The user's own folder must not be someone else's, nor a link.
    static int CheckOwnFolder(const std::string& path);

    std::string m_root;
};
