/* Kernel-mode host of the stand-in KVTOUCH driver: the device, its link
 * name, the dispatch routines, the clock, the lock, and the initial
 * settings read from the product key. Everything the driver decides is in
 * the portable core (sim/driver/core). */
#include <ntddk.h>

#include "sim/driver/core/kvtouch_driver.h"

#define KV_DEVICE_NAME L"\\Device\\KVTOUCH"
#define KV_LINK_NAME L"\\DosDevices\\KVTOUCH"
#define KV_PRODUCT_KEY L"\\Registry\\Machine\\SOFTWARE\\Halvane\\TouchScreen\\KV-PS2"

DRIVER_INITIALIZE DriverEntry;

static KvDriver g_driver;
static KSPIN_LOCK g_lock;
static PDEVICE_OBJECT g_device;

/* Milliseconds of the performance counter: monotonic, and exact under
 * Wine, whose KeQueryInterruptTime counts milliseconds instead of 100 ns
 * units and whose header versions read a kernel page a user-mode host only
 * emulates. */
static ULONGLONG now_ms(void) {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter = KeQueryPerformanceCounter(&frequency);
    ULONGLONG f = frequency.QuadPart > 0 ? (ULONGLONG)frequency.QuadPart : 1;
    ULONGLONG c = (ULONGLONG)counter.QuadPart;
    return c / f * 1000u + c % f * 1000u / f;
}

/* Feeds every known product-key value to the core; absent values keep the
 * core's defaults. */
static void read_initial_settings(ULONGLONG now) {
    UNICODE_STRING key_name;
    OBJECT_ATTRIBUTES attributes;
    HANDLE key;
    RtlInitUnicodeString(&key_name, KV_PRODUCT_KEY);
    InitializeObjectAttributes(&attributes, &key_name, OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE, NULL,
                               NULL);
    if (!NT_SUCCESS(ZwOpenKey(&key, KEY_READ, &attributes))) return;

    for (int i = 0; i < KVD_SETTING_COUNT; ++i) {
        WCHAR wide_name[64];
        const char* name = kvd_setting_names[i];
        USHORT n = 0;
        while (name[n] && n < 63) {
            wide_name[n] = (WCHAR)(unsigned char)name[n];
            ++n;
        }
        wide_name[n] = 0;
        UNICODE_STRING value_name;
        value_name.Buffer = wide_name;
        value_name.Length = (USHORT)(n * sizeof(WCHAR));
        value_name.MaximumLength = (USHORT)((n + 1) * sizeof(WCHAR));

        /* Room for any well-formed value; a longer one is malformed anyway. */
        union {
            KEY_VALUE_PARTIAL_INFORMATION info;
            UCHAR bytes[sizeof(KEY_VALUE_PARTIAL_INFORMATION) + 16];
        } reply;
        ULONG length = 0;
        NTSTATUS status = ZwQueryValueKey(key, &value_name, KeyValuePartialInformation, &reply,
                                          sizeof reply, &length);
        if (NT_SUCCESS(status)) {
            kvd_apply_setting(&g_driver, now, name, reply.info.Type, reply.info.Data,
                              reply.info.DataLength);
        } else if (status == STATUS_BUFFER_OVERFLOW) {
            /* Type and length came, the data did not: too long to be right. */
            kvd_apply_setting(&g_driver, now, name, reply.info.Type, NULL, reply.info.DataLength);
        }
    }
    ZwClose(key);
}

static NTSTATUS complete(PIRP irp, NTSTATUS status, ULONG_PTR information) {
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

static NTSTATUS dispatch_create_close(PDEVICE_OBJECT device, PIRP irp) {
    (void)device;
    return complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS dispatch_control(PDEVICE_OBJECT device, PIRP irp) {
    (void)device;
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    ULONG in_length = stack->Parameters.DeviceIoControl.InputBufferLength;
    ULONG out_length = stack->Parameters.DeviceIoControl.OutputBufferLength;
    /* Every request of this device is buffered; any other transfer type
     * would hand the core a buffer it must not use. */
    if ((code & 3u) != METHOD_BUFFERED) return complete(irp, STATUS_INVALID_DEVICE_REQUEST, 0);

    uint32_t returned = 0;
    KIRQL irql;
    KeAcquireSpinLock(&g_lock, &irql);
    uint32_t status = kvd_dispatch(&g_driver, now_ms(), code, irp->AssociatedIrp.SystemBuffer,
                                   in_length, out_length, &returned);
    KeReleaseSpinLock(&g_lock, irql);
    return complete(irp, (NTSTATUS)status, NT_SUCCESS((NTSTATUS)status) ? returned : 0);
}

static VOID driver_unload(PDRIVER_OBJECT driver) {
    (void)driver;
    UNICODE_STRING link;
    RtlInitUnicodeString(&link, KV_LINK_NAME);
    IoDeleteSymbolicLink(&link);
    if (g_device) IoDeleteDevice(g_device);
    g_device = NULL;
}

NTSTATUS DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registry_path) {
    (void)registry_path;
    KeInitializeSpinLock(&g_lock);

    ULONGLONG now = now_ms();
    kvd_init(&g_driver, now);
    read_initial_settings(now);

    UNICODE_STRING device_name, link_name;
    RtlInitUnicodeString(&device_name, KV_DEVICE_NAME);
    RtlInitUnicodeString(&link_name, KV_LINK_NAME);
    NTSTATUS status = IoCreateDevice(driver, 0, &device_name, FILE_DEVICE_UNKNOWN, 0, FALSE, &g_device);
    if (!NT_SUCCESS(status)) return status;
    status = IoCreateSymbolicLink(&link_name, &device_name);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(g_device);
        g_device = NULL;
        return status;
    }
    driver->MajorFunction[IRP_MJ_CREATE] = dispatch_create_close;
    driver->MajorFunction[IRP_MJ_CLOSE] = dispatch_create_close;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = dispatch_control;
    driver->DriverUnload = driver_unload;
    g_device->Flags &= ~DO_DEVICE_INITIALIZING;
    return STATUS_SUCCESS;
}
