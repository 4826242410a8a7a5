#include "RemovableDiskInfo.h"

RemovableDiskInfo::~RemovableDiskInfo() = default;
