#include "app/installer_app.h"

CInstallerApp theApp;
