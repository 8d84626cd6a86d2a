#pragma once

#include <QString>
#include <QtGlobal>

// Where a base lives decides how it may be shared: SQLite's write-ahead log keeps its index in
// memory shared between the processes of one host, so a base on a network share opened from
// two computers must keep the rollback journal.
namespace FileSystem {

// The file-system type codes of Linux's statfs() for network and user-space file systems
// (NFS, SMB/CIFS, SMB2, FUSE such as sshfs, 9p, AFS, Coda, Ceph, NCP, GFS2, OCFS2, Lustre).
bool isNetwork(qint64 type);

// statfs()'s type of the file system that holds `path` (or its folder, for a file not yet
// made); 0 when it cannot be told.
qint64 typeOf(const QString &path);

} // namespace FileSystem
