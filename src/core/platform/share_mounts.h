// The Windows shares this machine has mounted, as mappings found without asking anyone.
#pragma once

#include "core/platform/folder_mapping.h"

#include <QList>
#include <QString>
#include <QStringView>

namespace card {

// The SMB mounts (cifs, smb3) in the text of /proc/self/mountinfo: //server/share mounted at a
// folder stands for \\server\share (a mount of a share's subfolder for that subfolder).
QList<FolderMapping> sharesOfMountInfo(QStringView mountInfo);

// The desktop's network folders under runtimeFolder/gvfs:
// smb-share:server=NAME,share=SHARE stands for \\NAME\SHARE.
QList<FolderMapping> sharesOfDesktop(const QString& runtimeFolder);

// Both of the above for this machine and this user, read now.
QList<FolderMapping> mountedShares();

// mountedShares() put in use among the folder mappings.
void useMountedShares();

} // namespace card
