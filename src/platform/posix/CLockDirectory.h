// Where the named mutexes live: one lock file per name under the lock root
// (TRELOX_LOCK_DIR, else /tmp/trelox-locks), "global/" for the machine-wide
// namespace and "local-<uid>/" for the user's own. Folders in the default
// place are checked before they are trusted, since others can make them.
#pragma once

#include <string>

class CLockDirectory {
public:
    // Resolves the root from the environment at the time of the call.
    CLockDirectory();
    // The root `root`. `isDefault`: the default place in a folder shared with
    // other users, whose folders are checked before they are trusted.
    CLockDirectory(std::string root, bool isDefault);

    // The lock file of a mutex name ("Global\X", "Local\X" or "X"), with the
    // folders it lies in created when missing. 0 with *path set, or an errno
    // (EINVAL for an empty name).
    int PrepareLockFile(const std::string& mutexName, std::string* path) const;

    // The name as it appears in the folder: every byte but A-Z a-z 0-9 . _ -
    // as %XX. "." and ".." are escaped whole, since they name folders.
    static std::string Escape(const std::string& name);

private:
    // Creates `path` and gives it `mode` whatever the umask. 0, EEXIST when
    // it is there already, or another errno.
    static int CreateFolder(const std::string& path, unsigned mode);
    // The root or global/, made here or found: see CheckSharedFolder.
    int PrepareSharedFolder(const std::string& path) const;
    // A shared folder that was there already. In the default place it must
    // be a real directory (no link) owned by root or the user, or sticky as
    // /tmp is, and others may write into it only when it is sticky: else
    // they could delete lock files that are held. EACCES when it is not so.
    // A folder under a root the user named must only be a directory (ENOTDIR).
    int CheckSharedFolder(const std::string& path) const;
    // The user's own folder must not be someone else's, nor a link.
    static int CheckOwnFolder(const std::string& path);

    std::string m_root;
    bool m_isDefault = true;
};
