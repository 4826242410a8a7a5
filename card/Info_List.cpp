#include "Info_List.h"

Info_List::~Info_List() = default;
