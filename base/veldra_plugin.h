/* veldra_plugin.h: the interface between the VELDRA configuration program
 * (config.exe) and a configuration plug-in DLL. C89, usable from C and C++,
 * needs no other header of this system. docs/plugin-sdk.md shows how to
 * build a plug-in with it.
 *
 * Entry points. A plug-in exports them by their undecorated names (use a
 * .def file: on 32-bit Windows __stdcall names are otherwise decorated):
 *
 *   void * __stdcall ReadRegValuesEx(HKEY deviceKey, DWORD adapterNumber);
 *   void * __stdcall ReadRegValues(HKEY deviceKey);
 *   void   __stdcall EditRegValues(void **valueList);
 *
 * The host prefers ReadRegValuesEx and calls ReadRegValues only when the
 * former is missing; EditRegValues is optional (without it Setup does
 * nothing). The key handle is open for the call only: never close or keep it.
 *
 * Value list. A packed block of records, back to back without alignment,
 * every integer little-endian:
 *
 *   type  4 bytes, signed: a registry value type (REG_DWORD, REG_SZ, ...)
 *   name  the value name with its NUL
 *   size  4 bytes, unsigned: the number of data bytes that follow
 *   data  `size` bytes, written to the registry exactly as given (a REG_SZ
 *         counts its NUL)
 *
 * and after the last record the end mark, a type of -1 (VELDRA_LIST_END).
 * The block's size is the only bound the host trusts: it reads no record
 * that does not fit the block whole, and stops there as at the end mark.
 *
 * Global-heap ownership. A list changes hands as the locked address of a
 * global-heap block (GlobalAlloc, then GlobalLock). Whoever holds the list
 * releases it with GlobalHandle, GlobalUnlock and GlobalFree:
 *   - ReadRegValuesEx and ReadRegValues return a new list (or NULL for
 *     none); from then on the host owns it.
 *   - EditRegValues receives the host's list (or NULL). To replace it, it
 *     releases the old list and stores a new one in *valueList; to keep it,
 *     it leaves *valueList alone. It never releases a list it then hands back.
 *
 * The host writes the records of a saved list in order into the adapter's
 * key, then AdapterNumber and DeviceType; a failed write fails the whole
 * save, and the adapter's earlier settings stay as they were.
 */
#ifndef VELDRA_PLUGIN_H
#define VELDRA_PLUGIN_H

#include <stddef.h>
#include <string.h>

#ifdef _WIN32
#define VELDRA_PLUGIN_CALL __stdcall
typedef unsigned long VeldraU32; /* DWORD */
#else
#define VELDRA_PLUGIN_CALL
typedef unsigned int VeldraU32;
#endif

/* The helpers below are static, since C89 has no inline; unused ones must
 * not warn. */
#if defined(__cplusplus) || (defined(__STDC_VERSION__) && __STDC_VERSION__ >= 199901L)
#define VELDRA_PLUGIN_HELPER static inline
#elif defined(__GNUC__)
#define VELDRA_PLUGIN_HELPER static __attribute__((unused))
#else
#define VELDRA_PLUGIN_HELPER static
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The entry points as the host calls them; the key is an HKEY. */
typedef void*(VELDRA_PLUGIN_CALL* VeldraReadRegValuesExFn)(void* deviceKey, VeldraU32 adapterNumber);
typedef void*(VELDRA_PLUGIN_CALL* VeldraReadRegValuesFn)(void* deviceKey);
typedef void(VELDRA_PLUGIN_CALL* VeldraEditRegValuesFn)(void** valueList);

#define VELDRA_LIST_END (-1L)

/* One record, pointing into the list it was read from. */
typedef struct VeldraRecord {
  long type;
  const char* name;
  const unsigned char* data;
  VeldraU32 size;
} VeldraRecord;

VELDRA_PLUGIN_HELPER VeldraU32 VeldraGetLe32(const unsigned char* p) {
  return (VeldraU32)p[0] | (VeldraU32)p[1] << 8 | (VeldraU32)p[2] << 16 | (VeldraU32)p[3] << 24;
}

VELDRA_PLUGIN_HELPER void VeldraPutLe32(unsigned char* p, VeldraU32 value) {
  p[0] = (unsigned char)(value & 0xFF);
  p[1] = (unsigned char)(value >> 8 & 0xFF);
  p[2] = (unsigned char)(value >> 16 & 0xFF);
  p[3] = (unsigned char)(value >> 24 & 0xFF);
}

/* Reads the record at *offset of a list of listSize bytes into *record and
 * moves *offset past it. Returns 0, leaving *offset alone, at the end mark
 * and where the block ends before a whole record: never reads outside it. */
VELDRA_PLUGIN_HELPER int VeldraNextRecord(const void* list, size_t listSize, size_t* offset,
                                          VeldraRecord* record) {
  const unsigned char* p = (const unsigned char*)list + *offset;
  size_t left = *offset <= listSize ? listSize - *offset : 0;
  const unsigned char* nul;
  VeldraU32 type;
  size_t nameBytes;
  if (list == NULL || left < 4) return 0;
  type = VeldraGetLe32(p);
  if (type == 0xFFFFFFFFUL) return 0;
  p += 4;
  left -= 4;
  nul = (const unsigned char*)memchr(p, 0, left);
  if (nul == NULL) return 0;
  nameBytes = (size_t)(nul - p) + 1;
  record->name = (const char*)p;
  p += nameBytes;
  left -= nameBytes;
  if (left < 4) return 0;
  record->size = VeldraGetLe32(p);
  p += 4;
  left -= 4;
  if (record->size > left) return 0;
  record->data = p;
  /* Stored as the signed 32-bit number it is. */
  record->type = type <= 0x7FFFFFFFUL ? (long)type : -(long)(0xFFFFFFFFUL - type) - 1;
  *offset += 4 + nameBytes + 4 + record->size;
  return 1;
}

/* Bytes a record of this name and data size takes. */
VELDRA_PLUGIN_HELPER size_t VeldraRecordBytes(const char* name, VeldraU32 size) {
  return 4 + strlen(name) + 1 + 4 + (size_t)size;
}

/* Appends a record at *used of a block of listSize bytes and moves *used
 * past it. Returns 0, writing nothing, when it does not fit. */
VELDRA_PLUGIN_HELPER int VeldraAppendRecord(void* list, size_t listSize, size_t* used, long type,
                                            const char* name, const void* data, VeldraU32 size) {
  unsigned char* p = (unsigned char*)list + *used;
  const size_t nameBytes = strlen(name) + 1;
  if (*used > listSize || listSize - *used < 8 || listSize - *used - 8 < nameBytes ||
      listSize - *used - 8 - nameBytes < size)
    return 0;
  VeldraPutLe32(p, (VeldraU32)type);
  memcpy(p + 4, name, nameBytes);
  VeldraPutLe32(p + 4 + nameBytes, size);
  if (size != 0) memcpy(p + 8 + nameBytes, data, size);
  *used += 8 + nameBytes + size;
  return 1;
}

/* Appends the end mark; 0 when it does not fit. */
VELDRA_PLUGIN_HELPER int VeldraAppendEnd(void* list, size_t listSize, size_t* used) {
  if (*used > listSize || listSize - *used < 4) return 0;
  VeldraPutLe32((unsigned char*)list + *used, 0xFFFFFFFFUL);
  *used += 4;
  return 1;
}

#ifdef __cplusplus
}
#endif

#endif /* VELDRA_PLUGIN_H */
