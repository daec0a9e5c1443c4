/* The AIR native-extension C interface, as the runtime declares it: names,
 * values and layouts match the runtime's own header, so an extension built
 * against this file builds unchanged against the real one. */
#ifndef FLASHRUNTIMEEXTENSIONS_H_
#define FLASHRUNTIMEEXTENSIONS_H_

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32) && defined(AIR_RUNTIME_BUILDING)
#define FRE_API __declspec(dllexport)
#elif defined(_WIN32)
#define FRE_API __declspec(dllimport)
#elif defined(AIR_RUNTIME_BUILDING)
#define FRE_API __attribute__((visibility("default")))
#else
#define FRE_API
#endif

typedef void* FREContext;
typedef void* FREObject;

typedef enum {
  FRE_OK = 0,
  FRE_NO_SUCH_NAME = 1,
  FRE_INVALID_OBJECT = 2,
  FRE_TYPE_MISMATCH = 3,
  FRE_ACTIONSCRIPT_ERROR = 4,
  FRE_INVALID_ARGUMENT = 5,
  FRE_READ_ONLY = 6,
  FRE_WRONG_THREAD = 7,
  FRE_ILLEGAL_STATE = 8,
  FRE_INSUFFICIENT_MEMORY = 9,
  FREResult_ENUMPADDING = 0xffff
} FREResult;

typedef enum {
  FRE_TYPE_OBJECT = 0,
  FRE_TYPE_NUMBER = 1,
  FRE_TYPE_STRING = 2,
  FRE_TYPE_BYTEARRAY = 3,
  FRE_TYPE_ARRAY = 4,
  FRE_TYPE_VECTOR = 5,
  FRE_TYPE_BITMAPDATA = 6,
  FRE_TYPE_BOOLEAN = 7,
  FRE_TYPE_NULL = 8,
  FREObjectType_ENUMPADDING = 0xfffff
} FREObjectType;

typedef FREObject (*FREFunction)(FREContext ctx, void* functionData, uint32_t argc, FREObject argv[]);

typedef struct FRENamedFunction_ {
  const uint8_t* name;
  void* functionData;
  FREFunction function;
} FRENamedFunction;

typedef void (*FREContextInitializer)(void* extData, const uint8_t* ctxType, FREContext ctx,
                                      uint32_t* numFunctionsToSet, const FRENamedFunction** functionsToSet);
typedef void (*FREContextFinalizer)(FREContext ctx);
typedef void (*FREInitializer)(void** extDataToSet, FREContextInitializer* ctxInitializerToSet,
                               FREContextFinalizer* ctxFinalizerToSet);
typedef void (*FREFinalizer)(void* extData);

typedef struct {
  uint32_t length;
  uint8_t* bytes;
} FREByteArray;

typedef struct {
  uint32_t width;
  uint32_t height;
  uint32_t hasAlpha;
  uint32_t isPremultiplied;
  uint32_t lineStride32;
  uint32_t* bits32;
} FREBitmapData;

typedef struct {
  uint32_t width;
  uint32_t height;
  uint32_t hasAlpha;
  uint32_t isPremultiplied;
  uint32_t lineStride32;
  uint32_t isInvertedY;
  uint32_t* bits32;
} FREBitmapData2;

FRE_API FREResult FREGetContextNativeData(FREContext ctx, void** nativeData);
FRE_API FREResult FRESetContextNativeData(FREContext ctx, void* nativeData);
FRE_API FREResult FREGetContextActionScriptData(FREContext ctx, FREObject* actionScriptData);
FRE_API FREResult FRESetContextActionScriptData(FREContext ctx, FREObject actionScriptData);

FRE_API FREResult FREGetObjectType(FREObject object, FREObjectType* objectType);

FRE_API FREResult FREGetObjectAsInt32(FREObject object, int32_t* value);
FRE_API FREResult FREGetObjectAsUint32(FREObject object, uint32_t* value);
FRE_API FREResult FREGetObjectAsDouble(FREObject object, double* value);
FRE_API FREResult FREGetObjectAsBool(FREObject object, uint32_t* value);
FRE_API FREResult FREGetObjectAsUTF8(FREObject object, uint32_t* length, const uint8_t** value);

FRE_API FREResult FRENewObjectFromInt32(int32_t value, FREObject* object);
FRE_API FREResult FRENewObjectFromUint32(uint32_t value, FREObject* object);
FRE_API FREResult FRENewObjectFromDouble(double value, FREObject* object);
FRE_API FREResult FRENewObjectFromBool(uint32_t value, FREObject* object);
FRE_API FREResult FRENewObjectFromUTF8(uint32_t length, const uint8_t* value, FREObject* object);

FRE_API FREResult FRENewObject(const uint8_t* className, uint32_t argc, FREObject argv[], FREObject* object,
                               FREObject* thrownException);
FRE_API FREResult FREGetObjectProperty(FREObject object, const uint8_t* propertyName, FREObject* propertyValue,
                                       FREObject* thrownException);
FRE_API FREResult FRESetObjectProperty(FREObject object, const uint8_t* propertyName, FREObject propertyValue,
                                       FREObject* thrownException);

FRE_API FREResult FREAcquireBitmapData(FREObject object, FREBitmapData* descriptorToSet);
FRE_API FREResult FREAcquireBitmapData2(FREObject object, FREBitmapData2* descriptorToSet);
FRE_API FREResult FREReleaseBitmapData(FREObject object);
FRE_API FREResult FREInvalidateBitmapDataRect(FREObject object, uint32_t x, uint32_t y, uint32_t width,
                                              uint32_t height);

FRE_API FREResult FREAcquireByteArray(FREObject object, FREByteArray* byteArrayToSet);
FRE_API FREResult FREReleaseByteArray(FREObject object);

FRE_API FREResult FREDispatchStatusEventAsync(FREContext ctx, const uint8_t* code, const uint8_t* level);

#ifdef __cplusplus
}
#endif

#endif /* FLASHRUNTIMEEXTENSIONS_H_ */
