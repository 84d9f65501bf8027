#pragma once
#include <cstddef>

#include "toolkit/registry_key.h"

inline constexpr size_t kAssociationValueBytes = 512;

// The registry texts that name the program for the kbl file type.
struct AssociationValues {
    char iconValue[kAssociationValueBytes];
    char commandValue[kAssociationValueBytes];
};

// False, leaving `values` unspecified, when the path does not fit the registry values whole.
bool FormatAssociationValues(const char* modulePath, AssociationValues& values);

// Registers the kbl file type in HKEY_CLASSES_ROOT, opened by this program. Failures are silent.
class FileAssociation {
public:
    void RegisterFileType();
    // The same for a given program file.
    void RegisterFileTypeFor(const char* modulePath);

private:
    void WriteTypeKeys(const AssociationValues& values);

    // Held open until the application run ends.
    RegistryKey root_;
};
