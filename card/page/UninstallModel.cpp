#include "UninstallModel.h"

#include "StatusColours.h"
#include "UninstallLog.h"

#include <QColor>

#include <algorithm>

const char *const UninstallModel::StateReady = "0";
const char *const UninstallModel::StateUninstalling = "1";
const char *const UninstallModel::StateDone = "2";
const char *const UninstallModel::StateFailed = "3";

namespace {
QString stateCode(const VehicleData &record)
{
    return record.mState.isEmpty() ? QString::fromLatin1(UninstallModel::StateReady) : record.mState.at(0);
}
} // namespace

UninstallModel::UninstallModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

int UninstallModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : mDatas.size();
}

int UninstallModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant UninstallModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= mDatas.size())
        return QVariant();
    const VehicleData &record = mDatas.at(index.row());
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    if (role == Qt::ForegroundRole)
        return foreground(index.column(), stateCode(record));
    if (role == Qt::AccessibleTextRole)
        return spokenText(index.column(), record);
    switch (index.column()) {
    case NameColumn:
        if (role == Qt::DisplayRole)
            return record.DisplayName().isEmpty() ? record.mDirName : record.DisplayName();
        if (role == Qt::CheckStateRole)
            return record.mChecked ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::UserRole)
            return record.mDirPath;
        break;
    case VersionColumn:
        if (role == Qt::DisplayRole)
            return record.mVersion;
        break;
    case SizeColumn:
        if (role == Qt::DisplayRole)
            return SizeText(record.mSize);
        if (role == Qt::UserRole)
            return record.mSize;
        break;
    case StatusColumn:
        if (role == Qt::DisplayRole)
            return StateText(stateCode(record));
        if (role == Qt::UserRole)
            return record.mState;
        break;
    default:
        break;
    }
    return QVariant();
}

bool UninstallModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.row() >= mDatas.size())
        return false;
    const int row = index.row();
    VehicleData &record = mDatas[row];
    if (index.column() == NameColumn) {
        if (role != Qt::DisplayRole && role != Qt::CheckStateRole && role != Qt::UserRole && role != Qt::EditRole)
            return false;
        if (mIsUninstalling)
            return false;
        const QString code = stateCode(record);
        if (code == QLatin1String(StateDone))
            record.mChecked = false; // an uninstalled vehicle is gone from the card
        else if (code == QLatin1String(StateUninstalling))
            record.mChecked = true;
        else if (role == Qt::CheckStateRole)
            record.mChecked = value.toInt() == Qt::Checked;
        else
            record.mChecked = value.toBool();
        refreshRow(row);
        emit SignalCheckChanged(record.mChecked);
        return true;
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return false;
    switch (index.column()) {
    case VersionColumn:
        record.mVersion = value.toString();
        break;
    case SizeColumn: {
        // "12.5KB" keeps 12.5: the number before the unit.
        const QString text = value.toString().trimmed();
        int end = 0;
        while (end < text.size() && (text.at(end).isDigit() || text.at(end) == QLatin1Char('.')))
            ++end;
        record.mSize = quint64(text.leftRef(end).toFloat());
        break;
    }
    case StatusColumn:
        record.mState = value.toStringList();
        break;
    default:
        return false;
    }
    refreshRow(row);
    return true;
}

QVariant UninstallModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The header's own check box shows "Name"; a screen reader hears it here.
    if (orientation == Qt::Horizontal && role == Qt::AccessibleTextRole && section == NameColumn)
        return uninstallText("Name");
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case NameColumn:
        return QString();
    case VersionColumn:
        return uninstallText("Current Version");
    case SizeColumn:
        return uninstallText("Size");
    case StatusColumn:
        return uninstallText("Status");
    default:
        return QVariant();
    }
}

Qt::ItemFlags UninstallModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsAutoTristate;
}

int UninstallModel::RowOf(const QString &id) const
{
    for (int row = 0; row < mDatas.size(); ++row) {
        if (mDatas.at(row).mDirPath == id)
            return row;
    }
    return -1;
}

bool UninstallModel::AnyChecked() const
{
    return std::any_of(mDatas.cbegin(), mDatas.cend(), [](const VehicleData &r) { return r.mChecked; });
}

bool UninstallModel::AllChecked() const
{
    return !mDatas.isEmpty()
        && std::all_of(mDatas.cbegin(), mDatas.cend(), [](const VehicleData &r) { return r.mChecked; });
}

void UninstallModel::SetChecked(int row, bool checked)
{
    if (row < 0 || row >= mDatas.size())
        return;
    mDatas[row].mChecked = checked;
    refreshRow(row);
}

void UninstallModel::SetState(int row, const QString &code, const QString &percentage)
{
    if (row < 0 || row >= mDatas.size())
        return;
    mDatas[row].mState = QStringList{code, percentage};
    refreshRow(row);
}

QString UninstallModel::SizeText(quint64 bytes)
{
    // Single precision and inclusive limits, as the table always showed them.
    const QChar fill = QLatin1Char(' ');
    if (bytes <= 1024ull)
        return QStringLiteral("%1B").arg(bytes);
    const float kb = float(bytes) * (1.0f / 1024.0f);
    if (bytes <= 1048576ull)
        return QStringLiteral("%1KB").arg(double(kb), 3, 'f', 2, fill);
    const float mb = float(bytes) * (1.0f / 1024.0f) * (1.0f / 1024.0f);
    if (bytes <= 1073741824ull)
        return QStringLiteral("%1MB").arg(double(mb), 3, 'f', 2, fill);
    const float gb = float(bytes) * (1.0f / 1024.0f) * (1.0f / 1024.0f) * (1.0f / 1024.0f);
    return QStringLiteral("%1GB").arg(double(gb), 3, 'f', 2, fill);
}

QString UninstallModel::StateText(const QString &code)
{
    if (code == QLatin1String(StateUninstalling))
        return uninstallText("Uninstalling...");
    if (code == QLatin1String(StateDone))
        return uninstallText("Done");
    if (code == QLatin1String(StateFailed))
        return uninstallText("Failed");
    return uninstallText("Ready");
}

QColor UninstallModel::foreground(int column, const QString &code)
{
    if (column == NameColumn)
        return QColor(Qt::black);
    if (column != StatusColumn)
        return StatusColours::muted();
    if (code == QLatin1String(StateUninstalling))
        return StatusColours::working();
    if (code == QLatin1String(StateDone))
        return StatusColours::done();
    if (code == QLatin1String(StateFailed))
        return StatusColours::failed();
    return StatusColours::muted();
}

QString UninstallModel::spokenText(int column, const VehicleData &record) const
{
    const QString name = record.DisplayName().isEmpty() ? record.mDirName : record.DisplayName();
    switch (column) {
    case NameColumn: return name;
    case VersionColumn: return record.mVersion.isEmpty() ? uninstallText("No version") : record.mVersion;
    case SizeColumn: return SizeText(record.mSize);
    case StatusColumn: {
        // Read on its own, the state says which vehicle it is about.
        const QString code = stateCode(record);
        QString text = name + QStringLiteral(", ") + StateText(code);
        if (code == QLatin1String(StateUninstalling))
            text += QStringLiteral(", %1 %").arg(qBound(0, int(record.mState.value(1).toFloat()), 100));
        return text;
    }
    default: return QString();
    }
}

void UninstallModel::OnUpdateData(bool isUninstalling)
{
    mIsUninstalling = isUninstalling;
    if (!mDatas.isEmpty())
        emit dataChanged(index(0, 0), index(mDatas.size() - 1, ColumnCount - 1));
}

void UninstallModel::SetData(const QList<VehicleData> &recordList)
{
    beginResetModel();
    mDatas = recordList;
    endResetModel();
}

void UninstallModel::refreshRow(int row)
{
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}
