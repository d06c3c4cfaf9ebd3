# The metadata program that runs on the device through app_process:
#   CLASSPATH=/data/local/tmp/kestrel-metadata.dex app_process /system/bin local.quill.kestrel.MetadataMain
# It prints one JSON object per line for every package the device knows:
#   {"package":"…","label":"…","size":123,"icon":"<base64 PNG>"}
# "icon" is left out when the icon cannot be drawn; a package whose APK is gone is
# left out entirely (its label and icon live in that APK). Exit code 0 when the
# listing worked, 1 (with one line on standard error) when it did not.
#
# Register comments name what each register holds; p-registers are the arguments.

.class public final Llocal/quill/kestrel/MetadataMain;
.super Ljava/lang/Object;


# Entry point: prepares the main looper the framework's system context needs,
# then prints every package and exits with the listing's outcome.
.method public static main([Ljava/lang/String;)V
    .locals 3
    # p0: command-line arguments (none are used)
    # v0: the package manager, then the exit code
    # v1: standard output as UTF-8 text
    # v2: the failure that stopped the listing

    invoke-static {}, Llocal/quill/kestrel/MetadataMain;->openOutput()Ljava/io/Writer;
    move-result-object v1

    :try_start
    invoke-static {}, Landroid/os/Looper;->prepareMainLooper()V
    invoke-static {}, Llocal/quill/kestrel/MetadataMain;->packageManager()Landroid/content/pm/PackageManager;
    move-result-object v0
    invoke-static {v0, v1}, Llocal/quill/kestrel/MetadataMain;->printAll(Landroid/content/pm/PackageManager;Ljava/io/Writer;)V
    :try_end
    .catchall {:try_start .. :try_end} :failed

    invoke-virtual {v1}, Ljava/io/Writer;->flush()V
    const/4 v0, 0x0
    invoke-static {v0}, Ljava/lang/System;->exit(I)V
    return-void

    :failed
    move-exception v2
    invoke-static {v1, v2}, Llocal/quill/kestrel/MetadataMain;->reportFailure(Ljava/io/Writer;Ljava/lang/Throwable;)V
    const/4 v0, 0x1
    invoke-static {v0}, Ljava/lang/System;->exit(I)V
    return-void
.end method


# Standard output as UTF-8 whatever the platform's default encoding, buffered:
# thousands of lines with icons go out in large writes.
.method private static openOutput()Ljava/io/Writer;
    .locals 4
    # v0: the buffered writer, v1: the encoding writer, v2: standard output, then the buffer size
    # v3: the encoding's name

    new-instance v0, Ljava/io/BufferedWriter;
    new-instance v1, Ljava/io/OutputStreamWriter;
    sget-object v2, Ljava/lang/System;->out:Ljava/io/PrintStream;
    const-string v3, "UTF-8"
    invoke-direct {v1, v2, v3}, Ljava/io/OutputStreamWriter;-><init>(Ljava/io/OutputStream;Ljava/lang/String;)V
    const v2, 0x10000
    invoke-direct {v0, v1, v2}, Ljava/io/BufferedWriter;-><init>(Ljava/io/Writer;I)V
    return-object v0
.end method


# The package manager of the framework's system context: the way in for a
# program that app_process starts outside any application.
.method private static packageManager()Landroid/content/pm/PackageManager;
    .locals 1
    # v0: the framework's main thread, then its system context, then the package manager

    invoke-static {}, Landroid/app/ActivityThread;->systemMain()Landroid/app/ActivityThread;
    move-result-object v0
    invoke-virtual {v0}, Landroid/app/ActivityThread;->getSystemContext()Landroid/app/ContextImpl;
    move-result-object v0
    invoke-virtual {v0}, Landroid/content/Context;->getPackageManager()Landroid/content/pm/PackageManager;
    move-result-object v0
    return-object v0
.end method


# Writes one line per describable package. The listing itself failing is the
# only failure that leaves this method.
.method private static printAll(Landroid/content/pm/PackageManager;Ljava/io/Writer;)V
    .locals 2
    # p0: the package manager, p1: the output
    # v0: the list flags, then the iterator over the applications
    # v1: whether another application follows, then the application, then its line

    # MATCH_DISABLED_COMPONENTS | MATCH_UNINSTALLED_PACKAGES | MATCH_DISABLED_UNTIL_USED_COMPONENTS:
    # disabled packages and packages removed for the user are listed too.
    const v0, 0xa200
    invoke-virtual {p0, v0}, Landroid/content/pm/PackageManager;->getInstalledApplications(I)Ljava/util/List;
    move-result-object v0
    invoke-interface {v0}, Ljava/util/List;->iterator()Ljava/util/Iterator;
    move-result-object v0

    :next
    invoke-interface {v0}, Ljava/util/Iterator;->hasNext()Z
    move-result v1
    if-eqz v1, :done
    invoke-interface {v0}, Ljava/util/Iterator;->next()Ljava/lang/Object;
    move-result-object v1
    check-cast v1, Landroid/content/pm/ApplicationInfo;
    invoke-static {p0, v1}, Llocal/quill/kestrel/MetadataMain;->describe(Landroid/content/pm/PackageManager;Landroid/content/pm/ApplicationInfo;)Ljava/lang/String;
    move-result-object v1
    if-eqz v1, :next
    invoke-virtual {p1, v1}, Ljava/io/Writer;->write(Ljava/lang/String;)V
    goto :next

    :done
    return-void
.end method


# One package's whole line, ending in a line feed, or null when the package
# cannot be described. The line is built completely before anything is printed,
# so a failure half-way never leaves half a line behind.
.method private static describe(Landroid/content/pm/PackageManager;Landroid/content/pm/ApplicationInfo;)Ljava/lang/String;
    .locals 6
    # p0: the package manager, p1: the application
    # v0: the package name, then the finished line
    # v1-v2: the size in bytes
    # v3-v4: zero while the size is checked; then v3: the label, v4: the line being built
    # v5: the comparison, then each piece of text, then the icon

    :try_start
    iget-object v0, p1, Landroid/content/pm/ApplicationInfo;->packageName:Ljava/lang/String;
    if-eqz v0, :skip

    invoke-static {p1}, Llocal/quill/kestrel/MetadataMain;->apkSize(Landroid/content/pm/ApplicationInfo;)J
    move-result-wide v1
    const-wide/16 v3, 0x0
    cmp-long v5, v1, v3
    if-ltz v5, :skip

    invoke-static {p0, p1}, Llocal/quill/kestrel/MetadataMain;->label(Landroid/content/pm/PackageManager;Landroid/content/pm/ApplicationInfo;)Ljava/lang/String;
    move-result-object v3

    new-instance v4, Ljava/lang/StringBuilder;
    invoke-direct {v4}, Ljava/lang/StringBuilder;-><init>()V
    const-string v5, "{\"package\":"
    invoke-virtual {v4, v5}, Ljava/lang/StringBuilder;->append(Ljava/lang/String;)Ljava/lang/StringBuilder;
    invoke-static {v4, v0}, Llocal/quill/kestrel/MetadataMain;->appendJsonString(Ljava/lang/StringBuilder;Ljava/lang/String;)V
    const-string v5, ",\"label\":"
    invoke-virtual {v4, v5}, Ljava/lang/StringBuilder;->append(Ljava/lang/String;)Ljava/lang/StringBuilder;
    invoke-static {v4, v3}, Llocal/quill/kestrel/MetadataMain;->appendJsonString(Ljava/lang/StringBuilder;Ljava/lang/String;)V
    const-string v5, ",\"size\":"
    invoke-virtual {v4, v5}, Ljava/lang/StringBuilder;->append(Ljava/lang/String;)Ljava/lang/StringBuilder;
    invoke-virtual {v4, v1, v2}, Ljava/lang/StringBuilder;->append(J)Ljava/lang/StringBuilder;

    invoke-static {p0, p1}, Llocal/quill/kestrel/MetadataMain;->icon(Landroid/content/pm/PackageManager;Landroid/content/pm/ApplicationInfo;)Ljava/lang/String;
    move-result-object v5
    if-eqz v5, :close
    const-string v0, ",\"icon\":\""
    invoke-virtual {v4, v0}, Ljava/lang/StringBuilder;->append(Ljava/lang/String;)Ljava/lang/StringBuilder;
    # Base64 needs no escaping.
    invoke-virtual {v4, v5}, Ljava/lang/StringBuilder;->append(Ljava/lang/String;)Ljava/lang/StringBuilder;
    const/16 v0, 0x22
    invoke-virtual {v4, v0}, Ljava/lang/StringBuilder;->append(C)Ljava/lang/StringBuilder;

    :close
    const-string v5, "}\n"
    invoke-virtual {v4, v5}, Ljava/lang/StringBuilder;->append(Ljava/lang/String;)Ljava/lang/StringBuilder;
    invoke-virtual {v4}, Ljava/lang/StringBuilder;->toString()Ljava/lang/String;
    move-result-object v0
    :try_end
    .catchall {:try_start .. :try_end} :failed
    return-object v0

    :failed
    goto :skip

    # Nothing is printed for this package.
    :skip
    const/4 v0, 0x0
    return-object v0
.end method


# The base APK's size plus its split APKs' sizes, or -1 when the base APK is gone.
.method private static apkSize(Landroid/content/pm/ApplicationInfo;)J
    .locals 8
    # p0: the application
    # v0: the base APK's path, then the split APKs' paths
    # v1: the base APK as a file, then one split's path
    # v2-v3: the running total
    # v4: whether the base APK is a file, then the number of splits
    # v5: the split index
    # v6: one split as a file; v6-v7: its size

    iget-object v0, p0, Landroid/content/pm/ApplicationInfo;->sourceDir:Ljava/lang/String;
    if-eqz v0, :missing
    new-instance v1, Ljava/io/File;
    invoke-direct {v1, v0}, Ljava/io/File;-><init>(Ljava/lang/String;)V
    invoke-virtual {v1}, Ljava/io/File;->isFile()Z
    move-result v4
    if-eqz v4, :missing
    invoke-virtual {v1}, Ljava/io/File;->length()J
    move-result-wide v2

    iget-object v0, p0, Landroid/content/pm/ApplicationInfo;->splitSourceDirs:[Ljava/lang/String;
    if-eqz v0, :done
    array-length v4, v0
    const/4 v5, 0x0

    :next_split
    if-ge v5, v4, :done
    aget-object v1, v0, v5
    if-eqz v1, :after_split
    new-instance v6, Ljava/io/File;
    invoke-direct {v6, v1}, Ljava/io/File;-><init>(Ljava/lang/String;)V
    # A split that is gone counts as 0 bytes (File.length's answer).
    invoke-virtual {v6}, Ljava/io/File;->length()J
    move-result-wide v6
    add-long/2addr v2, v6
    :after_split
    add-int/lit8 v5, v5, 0x1
    goto :next_split

    :done
    return-wide v2

    :missing
    const-wide/16 v2, -0x1
    return-wide v2
.end method


# The application's label, or its package name when the label is blank or fails.
.method private static label(Landroid/content/pm/PackageManager;Landroid/content/pm/ApplicationInfo;)Ljava/lang/String;
    .locals 2
    # p0: the package manager, p1: the application
    # v0: the label, v1: whether the label is blank

    :try_start
    invoke-virtual {p0, p1}, Landroid/content/pm/PackageManager;->getApplicationLabel(Landroid/content/pm/ApplicationInfo;)Ljava/lang/CharSequence;
    move-result-object v0
    if-eqz v0, :fallback
    invoke-interface {v0}, Ljava/lang/CharSequence;->toString()Ljava/lang/String;
    move-result-object v0
    invoke-virtual {v0}, Ljava/lang/String;->trim()Ljava/lang/String;
    move-result-object v1
    invoke-virtual {v1}, Ljava/lang/String;->isEmpty()Z
    move-result v1
    if-nez v1, :fallback
    :try_end
    .catchall {:try_start .. :try_end} :failed
    return-object v0

    :failed
    goto :fallback

    :fallback
    iget-object v0, p1, Landroid/content/pm/ApplicationInfo;->packageName:Ljava/lang/String;
    return-object v0
.end method


# The application's icon as base64 PNG text without line breaks, or null when
# there is no icon or it cannot be drawn (including running out of memory).
.method private static icon(Landroid/content/pm/PackageManager;Landroid/content/pm/ApplicationInfo;)Ljava/lang/String;
    .locals 2
    # p0: the package manager, p1: the application
    # v0: the drawable, then the PNG bytes, then their base64 text
    # v1: the encoder's flags

    :try_start
    invoke-virtual {p0, p1}, Landroid/content/pm/PackageManager;->getApplicationIcon(Landroid/content/pm/ApplicationInfo;)Landroid/graphics/drawable/Drawable;
    move-result-object v0
    if-eqz v0, :none
    invoke-static {v0}, Llocal/quill/kestrel/MetadataMain;->drawPng(Landroid/graphics/drawable/Drawable;)[B
    move-result-object v0
    if-eqz v0, :none
    # Base64.NO_WRAP: the standard alphabet with padding and no line breaks.
    const/4 v1, 0x2
    invoke-static {v0, v1}, Landroid/util/Base64;->encodeToString([BI)Ljava/lang/String;
    move-result-object v0
    :try_end
    .catchall {:try_start .. :try_end} :failed
    return-object v0

    :failed
    goto :none

    :none
    const/4 v0, 0x0
    return-object v0
.end method


# Draws the icon into a bitmap of at most 112×112 pixels, keeping its proportions,
# and returns the bitmap as PNG bytes, or null when the encoder refuses it.
.method private static drawPng(Landroid/graphics/drawable/Drawable;)[B
    .locals 8
    # p0: the drawable
    # v0: the width, v1: the height, v2: the longest side allowed
    # v3: the bitmap's configuration, then the bitmap
    # v4: the canvas
    # v5: the PNG stream, then its bytes
    # v6: the PNG format
    # v7: zero for the bounds' origin, then the quality, then whether encoding worked

    invoke-virtual {p0}, Landroid/graphics/drawable/Drawable;->getIntrinsicWidth()I
    move-result v0
    invoke-virtual {p0}, Landroid/graphics/drawable/Drawable;->getIntrinsicHeight()I
    move-result v1
    const/16 v2, 0x70

    # A drawable without a size of its own (a plain colour, some vectors) fills the whole square.
    if-gtz v0, :has_width
    move v0, v2
    :has_width
    if-gtz v1, :has_height
    move v1, v2
    :has_height

    # The longer side shrinks to the limit and the other follows.
    if-lt v0, v1, :tall
    if-le v0, v2, :sized
    invoke-static {v1, v2, v0}, Llocal/quill/kestrel/MetadataMain;->scaled(III)I
    move-result v1
    move v0, v2
    goto :sized
    :tall
    if-le v1, v2, :sized
    invoke-static {v0, v2, v1}, Llocal/quill/kestrel/MetadataMain;->scaled(III)I
    move-result v0
    move v1, v2
    :sized

    sget-object v3, Landroid/graphics/Bitmap$Config;->ARGB_8888:Landroid/graphics/Bitmap$Config;
    invoke-static {v0, v1, v3}, Landroid/graphics/Bitmap;->createBitmap(IILandroid/graphics/Bitmap$Config;)Landroid/graphics/Bitmap;
    move-result-object v3
    new-instance v4, Landroid/graphics/Canvas;
    invoke-direct {v4, v3}, Landroid/graphics/Canvas;-><init>(Landroid/graphics/Bitmap;)V
    const/4 v7, 0x0
    invoke-virtual {p0, v7, v7, v0, v1}, Landroid/graphics/drawable/Drawable;->setBounds(IIII)V
    invoke-virtual {p0, v4}, Landroid/graphics/drawable/Drawable;->draw(Landroid/graphics/Canvas;)V

    new-instance v5, Ljava/io/ByteArrayOutputStream;
    invoke-direct {v5}, Ljava/io/ByteArrayOutputStream;-><init>()V
    sget-object v6, Landroid/graphics/Bitmap$CompressFormat;->PNG:Landroid/graphics/Bitmap$CompressFormat;
    const/16 v7, 0x64
    invoke-virtual {v3, v6, v7, v5}, Landroid/graphics/Bitmap;->compress(Landroid/graphics/Bitmap$CompressFormat;ILjava/io/OutputStream;)Z
    move-result v7
    invoke-virtual {v3}, Landroid/graphics/Bitmap;->recycle()V
    if-eqz v7, :refused
    invoke-virtual {v5}, Ljava/io/ByteArrayOutputStream;->toByteArray()[B
    move-result-object v5
    return-object v5

    :refused
    const/4 v5, 0x0
    return-object v5
.end method


# side × limit ÷ longest, at least 1; computed in 64 bits so huge sizes cannot overflow.
.method private static scaled(III)I
    .locals 4
    # p0: the shorter side, p1: the limit, p2: the longer side
    # v0-v1: the product, then the quotient; v0 at the end: the result
    # v2-v3: the limit, then the longer side, as 64-bit values

    int-to-long v0, p0
    int-to-long v2, p1
    mul-long/2addr v0, v2
    int-to-long v2, p2
    div-long/2addr v0, v2
    long-to-int v0, v0
    if-gtz v0, :done
    const/4 v0, 0x1
    :done
    return v0
.end method


# Appends the text as a JSON string: quotes and backslashes escaped, control
# characters and the Unicode line separators as \u escapes (a reader that splits
# lines at those must never see them raw); everything else passes unchanged.
.method private static appendJsonString(Ljava/lang/StringBuilder;Ljava/lang/String;)V
    .locals 4
    # p0: the builder, p1: the text
    # v0: the text's length, v1: the index, v2: the current character
    # v3: the quote character, then the escape being appended, then the first non-control character

    const/16 v3, 0x22
    invoke-virtual {p0, v3}, Ljava/lang/StringBuilder;->append(C)Ljava/lang/StringBuilder;
    invoke-virtual {p1}, Ljava/lang/String;->length()I
    move-result v0
    const/4 v1, 0x0

    :next
    if-ge v1, v0, :end
    invoke-virtual {p1, v1}, Ljava/lang/String;->charAt(I)C
    move-result v2
    sparse-switch v2, :escapes
    const/16 v3, 0x20
    if-lt v2, v3, :unicode
    invoke-virtual {p0, v2}, Ljava/lang/StringBuilder;->append(C)Ljava/lang/StringBuilder;
    goto :advance

    :quote
    const-string v3, "\\\""
    goto :short
    :backslash
    const-string v3, "\\\\"
    goto :short
    :line_feed
    const-string v3, "\\n"
    goto :short
    :carriage_return
    const-string v3, "\\r"
    goto :short
    :tab
    const-string v3, "\\t"
    :short
    invoke-virtual {p0, v3}, Ljava/lang/StringBuilder;->append(Ljava/lang/String;)Ljava/lang/StringBuilder;
    goto :advance

    :unicode
    invoke-static {p0, v2}, Llocal/quill/kestrel/MetadataMain;->appendUnicodeEscape(Ljava/lang/StringBuilder;C)V

    :advance
    add-int/lit8 v1, v1, 0x1
    goto :next

    :end
    const/16 v3, 0x22
    invoke-virtual {p0, v3}, Ljava/lang/StringBuilder;->append(C)Ljava/lang/StringBuilder;
    return-void

    :escapes
    .sparse-switch
        0x9 -> :tab
        0xa -> :line_feed
        0xd -> :carriage_return
        0x22 -> :quote
        0x5c -> :backslash
        0x85 -> :unicode
        0x2028 -> :unicode
        0x2029 -> :unicode
    .end sparse-switch
.end method


# Appends \uXXXX for one character, in lower-case hexadecimal.
.method private static appendUnicodeEscape(Ljava/lang/StringBuilder;C)V
    .locals 4
    # p0: the builder, p1: the character
    # v0: the shift of the next digit (12, 8, 4, 0), v1: the digit, then its character
    # v2: the hexadecimal digits, v3: the escape's prefix

    const-string v3, "\\u"
    invoke-virtual {p0, v3}, Ljava/lang/StringBuilder;->append(Ljava/lang/String;)Ljava/lang/StringBuilder;
    const-string v2, "0123456789abcdef"
    const/16 v0, 0xc

    :next_digit
    shr-int v1, p1, v0
    and-int/lit8 v1, v1, 0xf
    invoke-virtual {v2, v1}, Ljava/lang/String;->charAt(I)C
    move-result v1
    invoke-virtual {p0, v1}, Ljava/lang/StringBuilder;->append(C)Ljava/lang/StringBuilder;
    add-int/lit8 v0, v0, -0x4
    if-gez v0, :next_digit
    return-void
.end method


# Hands on the lines printed so far and reports why the listing stopped, in one line
# on standard error.
.method private static reportFailure(Ljava/io/Writer;Ljava/lang/Throwable;)V
    .locals 2
    # p0: the output, p1: the failure
    # v0: the message's prefix, then standard error; v1: the message

    :try_start
    invoke-virtual {p0}, Ljava/io/Writer;->flush()V
    :try_end
    .catchall {:try_start .. :try_end} :flush_failed
    goto :report

    :flush_failed
    goto :report

    :report
    new-instance v1, Ljava/lang/StringBuilder;
    const-string v0, "kestrel-metadata: "
    invoke-direct {v1, v0}, Ljava/lang/StringBuilder;-><init>(Ljava/lang/String;)V
    invoke-virtual {v1, p1}, Ljava/lang/StringBuilder;->append(Ljava/lang/Object;)Ljava/lang/StringBuilder;
    invoke-virtual {v1}, Ljava/lang/StringBuilder;->toString()Ljava/lang/String;
    move-result-object v1
    sget-object v0, Ljava/lang/System;->err:Ljava/io/PrintStream;
    invoke-virtual {v0, v1}, Ljava/io/PrintStream;->println(Ljava/lang/String;)V
    return-void
.end method
