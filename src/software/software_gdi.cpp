#include "software/software_gdi.h"

SoftwareGdiCalls softwareGdi = {CreateCompatibleDC, CreateDIBSection, SelectObject, GetDC,
                                ReleaseDC,          BitBlt,           DeleteDC};
