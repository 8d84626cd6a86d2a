#include "filesystem.h"

#include <QFile>
#include <QFileInfo>

#include <sys/vfs.h>

namespace {

// Not all of these are in <linux/magic.h>; the values are the kernel's.
constexpr qint64 NetworkTypes[] = {
    0x6969,     // NFS
    0x517B,     // SMB
    0xFF534D42, // CIFS
    0xFE534D42, // SMB2
    0x65735546, // FUSE (sshfs, and others that may be remote)
    0x01021997, // 9p
    0x5346414F, // AFS
    0x73757245, // Coda
    0x00C36400, // Ceph
    0x564C,     // NCP
    0x01161970, // GFS2
    0x7461636F, // OCFS2
    0x0BD00BD0, // Lustre
};

} // namespace

namespace FileSystem {

bool isNetwork(qint64 type)
{
    for (const qint64 t : NetworkTypes) {
        if (t == type)
            return true;
    }
    return false;
}

qint64 typeOf(const QString &path)
{
    const QFileInfo info(path);
    const QString probe = info.exists() ? info.absoluteFilePath() : info.absolutePath();
    struct statfs fs = {};
    if (statfs(QFile::encodeName(probe).constData(), &fs) != 0)
        return 0;
    // f_type is signed on some ABIs: the codes are 32-bit patterns.
    return qint64(quint32(fs.f_type));
}

} // namespace FileSystem
