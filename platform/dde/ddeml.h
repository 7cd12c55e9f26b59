/*
** The DDE management library: instances, string and data handles, service names, the
** application callback and its transaction types, and the client calls.
**
** Conversations run between processes over Unix-domain sockets in the user's runtime
** directory (see dde_runtime_dir.h). Everything here is called on the program's GUI
** thread; callbacks run from its event loop between messages, or inside the DDE calls the
** program itself makes (DdePostAdvise), never re-entrantly inside another callback.
** Numeric values are those of the original library.
*/
#ifndef ZARNE_PLATFORM_DDE_DDEML_H
#define ZARNE_PLATFORM_DDE_DDEML_H

#include "platform/kernel/wintypes.h"

ZARNE_DECLARE_HANDLE(HCONV);
ZARNE_DECLARE_HANDLE(HCONVLIST);
ZARNE_DECLARE_HANDLE(HSZ);
ZARNE_DECLARE_HANDLE(HDDEDATA);

typedef HDDEDATA CALLBACK FNCALLBACK(UINT type, UINT format, HCONV conversation, HSZ hsz1, HSZ hsz2,
                                     HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);
typedef FNCALLBACK* PFNCALLBACK;

typedef struct tagHSZPAIR {
  HSZ hszSvc;
  HSZ hszTopic;
} HSZPAIR, *PHSZPAIR;

/* Accepted by DdeConnect for compatibility; its contents are not used. */
typedef struct tagCONVCONTEXT {
  UINT cb;
  UINT wFlags;
  UINT wCountryID;
  int iCodePage;
  DWORD dwLangID;
  DWORD dwSecurity;
} CONVCONTEXT, *PCONVCONTEXT;

/* What DdeQueryConvInfo reports of a conversation. */
typedef struct tagCONVINFO {
  DWORD cb;
  DWORD_PTR_ hUser;
  HCONV hConvPartner;
  HSZ hszSvcPartner;
  HSZ hszServiceReq;
  HSZ hszTopic;
  HSZ hszItem;
  UINT wFmt;
  UINT wType;
  UINT wStatus;
  UINT wConvst;
  UINT wLastError;
  HCONVLIST hConvList;
  CONVCONTEXT ConvCtxt;
  HWND hwnd;
  HWND hwndPartner;
} CONVINFO, *PCONVINFO;

/* Transaction classes and types */
#define XCLASS_MASK         0xFC00
#define XCLASS_BOOL         0x1000
#define XCLASS_DATA         0x2000
#define XCLASS_FLAGS        0x4000
#define XCLASS_NOTIFICATION 0x8000
#define XTYPF_NOBLOCK       0x0002
#define XTYPF_NODATA        0x0004
#define XTYPF_ACKREQ        0x0008
#define XTYP_MASK           0x00F0
#define XTYP_SHIFT          4

#define XTYP_ERROR           0x8002
#define XTYP_ADVDATA         0x4010
#define XTYP_ADVREQ          0x2022
#define XTYP_ADVSTART        0x1030
#define XTYP_ADVSTOP         0x8040
#define XTYP_EXECUTE         0x4050
#define XTYP_CONNECT         0x1062
#define XTYP_CONNECT_CONFIRM 0x8072
#define XTYP_XACT_COMPLETE   0x8080
#define XTYP_POKE            0x4090
#define XTYP_REGISTER        0x80A2
#define XTYP_REQUEST         0x20B0
#define XTYP_DISCONNECT      0x80C2
#define XTYP_UNREGISTER      0x80D2
#define XTYP_WILDCONNECT     0x20E2

/* Answers of the flag-class transactions */
#define DDE_FACK          0x8000
#define DDE_FBUSY         0x4000
#define DDE_FNOTPROCESSED 0x0000

/* DdeInitialize: application class, commands and callback filters */
#define APPCLASS_STANDARD         0x00000000
#define APPCLASS_MONITOR          0x00000001
#define APPCMD_CLIENTONLY         0x00000010
#define APPCMD_FILTERINITS        0x00000020
#define CBF_FAIL_SELFCONNECTIONS  0x00001000
#define CBF_FAIL_CONNECTIONS      0x00002000
#define CBF_FAIL_ADVISES          0x00004000
#define CBF_FAIL_EXECUTES         0x00008000
#define CBF_FAIL_POKES            0x00010000
#define CBF_FAIL_REQUESTS         0x00020000
#define CBF_FAIL_ALLSVRXACTIONS   0x0003F000
#define CBF_SKIP_CONNECT_CONFIRMS 0x00040000
#define CBF_SKIP_REGISTRATIONS    0x00080000
#define CBF_SKIP_UNREGISTRATIONS  0x00100000
#define CBF_SKIP_DISCONNECTS      0x00200000
#define CBF_SKIP_ALLNOTIFICATIONS 0x003C0000

/* DdeNameService */
#define DNS_REGISTER   0x0001
#define DNS_UNREGISTER 0x0002
#define DNS_FILTERON   0x0004
#define DNS_FILTEROFF  0x0008

/* Code pages of the string calls */
#define CP_WINANSI    1004
#define CP_WINUNICODE 1200

/* DdeCreateDataHandle */
#define HDATA_APPOWNED 0x0001

/* Clipboard formats carried by conversations */
#ifndef CF_TEXT
#define CF_TEXT 1
#endif

#define TIMEOUT_ASYNC 0xFFFFFFFF
#define QID_SYNC      0xFFFFFFFF

/* CONVINFO.wStatus */
#define ST_CONNECTED  0x0001
#define ST_ADVISE     0x0002
#define ST_CLIENT     0x0010
#define ST_TERMINATED 0x0020

/* Errors of DdeGetLastError and DdeInitialize */
#define DMLERR_NO_ERROR            0
#define DMLERR_FIRST               0x4000
#define DMLERR_ADVACKTIMEOUT       0x4000
#define DMLERR_BUSY                0x4001
#define DMLERR_DATAACKTIMEOUT      0x4002
#define DMLERR_DLL_NOT_INITIALIZED 0x4003
#define DMLERR_DLL_USAGE           0x4004
#define DMLERR_EXECACKTIMEOUT      0x4005
#define DMLERR_INVALIDPARAMETER    0x4006
#define DMLERR_LOW_MEMORY          0x4007
#define DMLERR_MEMORY_ERROR        0x4008
#define DMLERR_NOTPROCESSED        0x4009
#define DMLERR_NO_CONV_ESTABLISHED 0x400A
#define DMLERR_POKEACKTIMEOUT      0x400B
#define DMLERR_POSTMSG_FAILED      0x400C
#define DMLERR_REENTRANCY          0x400D
#define DMLERR_SERVER_DIED         0x400E
#define DMLERR_SYS_ERROR           0x400F
#define DMLERR_UNADVACKTIMEOUT     0x4010
#define DMLERR_UNFOUND_QUEUE_ID    0x4011
#define DMLERR_LAST                0x4011

/* Instances */
UINT DdeInitialize(LPDWORD instance, PFNCALLBACK callback, DWORD commands, DWORD reserved);
BOOL DdeUninitialize(DWORD instance);
UINT DdeGetLastError(DWORD instance);

/* String handles: one handle per text regardless of case, counted by use. */
HSZ DdeCreateStringHandle(DWORD instance, LPCSTR text, int codePage);
BOOL DdeFreeStringHandle(DWORD instance, HSZ hsz);
/* The length without the terminator; copies at most maxChars - 1 characters. */
DWORD DdeQueryString(DWORD instance, HSZ hsz, LPSTR buffer, DWORD maxChars, int codePage);
/* -1, 0 or 1, comparing the texts without regard to case. */
int DdeCmpStringHandles(HSZ hsz1, HSZ hsz2);

/* Data handles */
HDDEDATA DdeCreateDataHandle(DWORD instance, LPBYTE source, DWORD bytes, DWORD offset, HSZ item,
                             UINT format, UINT commands);
DWORD DdeGetData(HDDEDATA data, LPBYTE destination, DWORD maxBytes, DWORD offset);
LPBYTE DdeAccessData(HDDEDATA data, LPDWORD size);
BOOL DdeFreeDataHandle(HDDEDATA data);

/* Server */
HDDEDATA DdeNameService(DWORD instance, HSZ service, HSZ reserved, UINT command);
BOOL DdePostAdvise(DWORD instance, HSZ topic, HSZ item);

/* Conversations and the client */
HCONV DdeConnect(DWORD instance, HSZ service, HSZ topic, PCONVCONTEXT context);
BOOL DdeDisconnect(HCONV conversation);
HDDEDATA DdeClientTransaction(LPBYTE data, DWORD bytes, HCONV conversation, HSZ item, UINT format,
                              UINT type, DWORD timeoutMs, LPDWORD result);
HCONVLIST DdeConnectList(DWORD instance, HSZ service, HSZ topic, HCONVLIST previous,
                         PCONVCONTEXT context);
HCONV DdeQueryNextServer(HCONVLIST list, HCONV previous);
BOOL DdeDisconnectList(HCONVLIST list);
UINT DdeQueryConvInfo(HCONV conversation, DWORD transaction, PCONVINFO info);

#define DdeCreateStringHandleA DdeCreateStringHandle
#define DdeQueryStringA        DdeQueryString
#define DdeInitializeA         DdeInitialize

#endif
