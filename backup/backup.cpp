#include "backup/backup.h"

void RegistryBackup::Run() {}
