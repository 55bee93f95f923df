#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/base/Sha256.h"
#include "core/ledger/LedgerEntry.h"

namespace tovarin {

class ByteReader;
class TLedger;

// The ledger's stored form, the bytes of one section of the document's
// extension (the section's kind and length are the extension's). Integers
// are little-endian, as everywhere in the document:
//
//   i32 entry count, then per entry its canonical bytes and its 32-byte hash.
//   Canonical bytes of a record:
//     i64 recorded at (seconds since 1970 UTC)   i32 project (>= 1)
//     56 bytes: the project's settings record, its first four bytes zero
//     i32 tolerance (0..10)
//     i32 condition count, then per condition: i32 length, UTF-8 text
//     13 bytes: the kept codes, bit c%8 of byte c/8 for code c, bits 100..103 zero
//     one byte per kept code, ascending: its error (0..tolerance)
//     i32 group count, then per group: i32 size (1..100), 13 bytes of its codes
//       as above (at most size of them)
//     i32 target period (>= 1)   u8 label length (0: none, else 1..9), its digits
//     i32 table rows when recorded (>= 0)   u8 label length, its digits
//
// Only the canonical form is read: anything else is refused, so a ledger
// read and written again is the same bytes.

// The bytes a record's hash covers.
std::string RecordBytes(const TLedgerRecord& record);
// Reads one record's canonical bytes; EReadError naming the byte where it
// stopped.
TLedgerRecord ReadRecord(ByteReader& in);

// SHA-256 of a record's bytes followed by the previous entry's hash
// (nothing before the first entry).
TSha256Digest ChainHash(TSha256& hasher, std::string_view recordBytes,
                        const TSha256Digest* previous);

std::string EncodeLedger(const TLedger& ledger);
// Reads a whole section; offsetInFile, where it lies in the document, goes
// into the messages. Every count and length is checked against the bytes
// before use; a spoiled section raises EReadError naming the byte where it
// stopped. The chain is checked on the way: a ledger whose bytes read well
// but whose hashes do not follow is returned with BrokenAt set.
TLedger DecodeLedger(std::string_view payload, size_t offsetInFile);

// The hash as 64 lowercase hexadecimal digits, the fingerprint a player
// can publish.
std::string HashText(const TSha256Digest& hash);

}  // namespace tovarin
