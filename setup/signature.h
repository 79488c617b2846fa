// Whether a downloaded file carries a valid Authenticode signature of the
// expected signer, as Windows PowerShell reports it.
#pragma once

#include "platform/platform.h"

// 1 when the report's status is Valid and the signer certificate's subject
// matches expectedSigner (a case-insensitive regular expression), else 0.
int verifySignature(const Text& path, const Text& expectedSigner);

// The decision on a report, apart from running PowerShell.
int judgeSignatureReport(const Text& report, const Text& expectedSigner);

// The PowerShell command that asks for the signature of path.
Text signatureCommand(const Text& path);
