// Authenticode signatures of SETUP.EXE, made and read through osslsigncode.
#pragma once
#include <string>

// Signs file in place with the PKCS#12 certificate; the password (if any) is read from
// passwordFile, a time-stamp server is asked when timestampUrl is given. The reason when it
// could not; the file is then as it was.
std::string SignFile(const std::string& file, const std::string& certificate, const std::string& passwordFile,
                     const std::string& timestampUrl);

enum class SignatureState { None, Valid, Broken, Unknown };
struct SignatureReport {
  SignatureState state;
  std::string detail;  // the signer, and whether the chain is trusted here; or what is wrong
};
// Valid: the file is as it was signed (whether its certificate chain is trusted on this
// machine is said in the detail). Unknown: osslsigncode is not there to tell.
SignatureReport CheckSignature(const std::string& file);
