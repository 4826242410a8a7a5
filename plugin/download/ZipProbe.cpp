#include "ZipProbe.h"

#include "DownloadLog.h"

#include <QFile>

#include <zip.h>

bool ZipProbe::isComplete(const QString &path)
{
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!archive) {
        zip_error_t detail;
        zip_error_init_with_code(&detail, error);
        qCDebug(lcDownload).noquote() << "not a whole zip:" << path << zip_error_strerror(&detail);
        zip_error_fini(&detail);
        return false;
    }
    const bool listed = zip_get_num_entries(archive, 0) >= 0;
    zip_discard(archive);
    return listed;
}
