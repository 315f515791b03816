<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="zh_CN">
<context>
    <name>Quillon</name>
    <message>
        <location filename="SourceTexts.cpp" line="11"/>
        <source> $USER
然后注销并重新登录，新的组才会生效。</source>
        <translation> $USER
then log out and log in again for the new group to take effect.</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="12"/>
        <source> 个自定义条目未保存）</source>
        <translation> custom entries not saved)</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="13"/>
        <source> 使用。
请以该用户运行本程序，或请管理员修改该设备的权限。</source>
        <translation>.
Run this program as that user, or ask an administrator to change the device&apos;s permissions.</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="15"/>
        <source> 失败：</source>
        <translation> failed: </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="16"/>
        <source> 已不存在：设备可能已被拔出。请重新插上设备，再连接。</source>
        <translation> no longer exists: the device may have been unplugged. Plug the device in again, then connect.</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="17"/>
        <source> 已拔出，设备已断开</source>
        <translation> unplugged, device disconnected</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="18"/>
        <source> 已连接</source>
        <translation> connected</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="19"/>
        <source> 已重新插入</source>
        <translation> plugged in again</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="20"/>
        <source> 正被另一个程序占用</source>
        <translation> is in use by another program</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="21"/>
        <source> 的权限：该设备只允许用户 </source>
        <translation>: the device only allows the user </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="22"/>
        <source> 的权限：该设备属于 </source>
        <translation>: the device belongs to the group </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="23"/>
        <source> 组，当前用户不在这个组里。
把当前用户加入该组：
    sudo usermod -aG </source>
        <translation>, and the current user is not in that group.
Add the current user to the group:
    sudo usermod -aG </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="25"/>
        <source>1/16比例</source>
        <translation>1/16 scale</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="26"/>
        <source>1/2比例</source>
        <translation>1/2 scale</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="27"/>
        <source>1/32比例</source>
        <translation>1/32 scale</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="28"/>
        <source>1/4比例</source>
        <translation>1/4 scale</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="29"/>
        <source>1/8比例</source>
        <translation>1/8 scale</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="30"/>
        <source>COM1024，联机</source>
        <translation>COM1024, online</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="31"/>
        <source>Connects, reads back, then writes each option as the tree does with &quot;修改设备参数&quot; ticked, </source>
        <translation>Connects, reads back, then writes each option as the tree does with &quot;Write to device&quot; ticked, </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="32"/>
        <source>Each HEX goes to the device unchanged, as the window&apos;s &quot;命令交互&quot; sends it: two characters </source>
        <translation>Each HEX goes to the device unchanged, as the window&apos;s &quot;Command console&quot; sends it: two characters </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="33"/>
        <source>HEX文件第</source>
        <translation>HEX file line </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="34"/>
        <source>M1 卡块参数格式应为 A|B:扇区:块:密钥</source>
        <translation>M1 card block parameters must be A|B:sector:block:key</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="35"/>
        <source>M1卡扇区读取参数设置</source>
        <translation>M1 card sector reading settings</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="36"/>
        <source>MB，不能下载！</source>
        <translation> MB and cannot be downloaded!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="37"/>
        <source>Modbus RTU 访问服务地址标识 0-255：</source>
        <translation>Modbus RTU service address ID, 0-255:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="38"/>
        <source>ModemManager 会在串口设备插入后的一段时间内探测该设备，可稍等片刻再连接。</source>
        <translation>ModemManager probes a serial device for a while after it is plugged in; wait a moment and connect again.</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="39"/>
        <source>NFC不同结果时间间隔设置</source>
        <translation>NFC interval between different results</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="40"/>
        <source>NFC不同结果时间间隔，有效值为0－65535，单位ms：</source>
        <translation>NFC interval between different results, 0-65535 ms:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="41"/>
        <source>NFC相同结果时间间隔设置</source>
        <translation>NFC interval between identical results</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="42"/>
        <source>NFC相同结果时间间隔，有效值为0－65535，单位ms：</source>
        <translation>NFC interval between identical results, 0-65535 ms:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="43"/>
        <source>Prints the information bar&apos;s state text (&quot;COM9，联机&quot;, or the device path) once the
</source>
        <translation>Prints the information bar&apos;s state text (&quot;COM9, online&quot;, or the device path) once the
</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="44"/>
        <source>Quillon - 扫描枪条码配置文档</source>
        <translation>Quillon - Scanner configuration barcode document</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="45"/>
        <source>Quillon 条码扫描器配置工具</source>
        <translation>Quillon barcode scanner configuration tool</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="46"/>
        <source>&quot;, ENV{ID_MM_DEVICE_IGNORE}=&quot;1&quot;
然后运行：
    sudo udevadm control --reload-rules &amp;&amp; sudo udevadm trigger</source>
        <translation>&quot;, ENV{ID_MM_DEVICE_IGNORE}=&quot;1&quot;
then run:
    sudo udevadm control --reload-rules &amp;&amp; sudo udevadm trigger</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="47"/>
        <source>
要让 ModemManager 不再碰这个设备，新建文件 /etc/udev/rules.d/99-quillon.rules，写入：
    </source>
        <translation>
To keep ModemManager away from this device, create the file /etc/udev/rules.d/99-quillon.rules containing:
    </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="48"/>
        <source>
请先关闭占用它的程序，再连接。</source>
        <translation>
Close the program that uses it, then connect.</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="49"/>
        <source>
请用网页浏览器打开该文件。</source>
        <translation>
Open that file with a web browser.</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="50"/>
        <source>
请重新安装 Quillon 软件包。</source>
        <translation>
Please reinstall the Quillon package.</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="51"/>
        <source>saves them as the window&apos;s &quot;解码保存&quot; does (UTF-16LE, CR LF per record), each record as it </source>
        <translation>saves them as the window&apos;s &quot;Save decoded&quot; does (UTF-16LE, CR LF per record), each record as it </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="53"/>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="54"/>
        <source>。</source>
        <translation>.</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="55"/>
        <source>不同译码结果时间间隔设置</source>
        <translation>Interval between different decoded results</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="56"/>
        <source>不支持该设备或该端口不是设备对应端口，连接失败！</source>
        <translation>This device is not supported or the port is not the device&apos;s port; connection failed!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="57"/>
        <source>不是以冒号开头的记录</source>
        <translation>record does not begin with a colon</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="58"/>
        <source>不能打开指定的COM，请尝试别的端口！</source>
        <translation>Cannot open the given COM port; try another port!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="59"/>
        <source>串口参数设置</source>
        <translation>Serial port settings</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="60"/>
        <source>串口打开失败！</source>
        <translation>Failed to open the serial port!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="61"/>
        <source>串口监控数据显示：</source>
        <translation>Serial monitor data:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="62"/>
        <source>串口连接中断，传输停止！</source>
        <translation>Serial connection lost; transfer stopped!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="63"/>
        <source>任意输出模式</source>
        <translation>Any output mode</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="64"/>
        <source>传输已取消！</source>
        <translation>Transfer cancelled!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="65"/>
        <source>保存通信记录…</source>
        <translation>Save wire trace…</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="66"/>
        <source>保存配置(&amp;S)...	Ctrl+S</source>
        <translation>&amp;Save settings...	Ctrl+S</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="67"/>
        <source>保存配置文件失败，原有文件未改变：</source>
        <translation>Saving the settings file failed; the existing file is unchanged: </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="68"/>
        <source>信息栏</source>
        <translation>Information bar</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="69"/>
        <source>修改设备参数</source>
        <translation>Write to device</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="70"/>
        <source>值超出设置范围</source>
        <translation>Value out of range</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="71"/>
        <source>停止位：</source>
        <translation>Stop bits:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="72"/>
        <source>像素值提取</source>
        <translation>Pixel values</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="73"/>
        <source>关于 Quillon(&amp;A)...</source>
        <translation>&amp;About Quillon...</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="74"/>
        <source>关于配置工具软件</source>
        <translation>About the configuration tool</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="75"/>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="76"/>
        <source>写保持寄存器数量</source>
        <translation>Number of holding registers to write</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="77"/>
        <source>写保持寄存器起始地址</source>
        <translation>Start address of holding registers to write</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="78"/>
        <source>写入解码输出文件失败！</source>
        <translation>Writing the decoded output file failed!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="79"/>
        <source>分隔符数量超过最大8个字符！</source>
        <translation>More than 8 separator characters!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="80"/>
        <source>创建图像文件失败！</source>
        <translation>Creating the image file failed!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="81"/>
        <source>创建解码输出文件失败！</source>
        <translation>Creating the decoded output file failed!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="82"/>
        <source>制定输出模式</source>
        <translation>Specified output mode</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="83"/>
        <source>制表符</source>
        <translation>Tab</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="84"/>
        <source>加载完毕!</source>
        <translation>Loading complete!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="85"/>
        <source>十六进制位数为奇数</source>
        <translation>odd number of hex digits</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="86"/>
        <source>升级失败，请重新升级！</source>
        <translation>Upgrade failed; please upgrade again!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="87"/>
        <source>升级完毕!</source>
        <translation>Upgrade complete!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="88"/>
        <source>原始比例</source>
        <translation>Original scale</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="89"/>
        <source>参数无效</source>
        <translation>Invalid parameter</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="90"/>
        <source>发送</source>
        <translation>Send</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="91"/>
        <source>发送命令：</source>
        <translation>Command to send:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="92"/>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="93"/>
        <source>只能输入ASCII打印字符，或使用HEX格式输入</source>
        <translation>Only printable ASCII characters may be entered, or use HEX input</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="94"/>
        <source>含有非十六进制字符</source>
        <translation>contains non-hexadecimal characters</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="95"/>
        <source>命令交互</source>
        <translation>Command console</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="96"/>
        <source>命令交互(&amp;P)	Ctrl+P</source>
        <translation>Command &amp;console	Ctrl+P</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="97"/>
        <source>命令内容含有GBK编码无法表示的字符，无法加入文档。</source>
        <translation>The command contains characters that GBK cannot represent; it cannot be added to the document.</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="98"/>
        <source>命令内容过长，无法生成Code 128条码。该条目已加入文档，但没有条码，请改用条码转换生成二维码。</source>
        <translation>The command is too long for a Code 128 barcode. The entry was added to the document without a barcode; use Convert barcodes to make a QR code instead.</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="99"/>
        <source>命令内容过长，无法生成条码</source>
        <translation>The command is too long to make a barcode</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="100"/>
        <source>命令已存在，是否重复添加？</source>
        <translation>The command already exists. Add it again?</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="101"/>
        <source>命令解码超时时长，有效值为0－65535毫秒：</source>
        <translation>Command decoding timeout, 0-65535 ms:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="102"/>
        <source>命令解码超时设置</source>
        <translation>Command decoding timeout</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="103"/>
        <source>固件下载</source>
        <translation>Firmware download</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="104"/>
        <source>固件下载(&amp;D)	Ctrl+D</source>
        <translation>Firmware &amp;download	Ctrl+D</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="105"/>
        <source>固件修复升级</source>
        <translation>Firmware repair upgrade</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="106"/>
        <source>固件修复升级错误，请确认是否固件软件是否支持该功能！</source>
        <translation>Firmware repair upgrade error; check whether the firmware supports this function!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="107"/>
        <source>固件文件中没有可发送的数据！</source>
        <translation>The firmware file holds no data to send!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="108"/>
        <source>固件文件超过</source>
        <translation>The firmware file is larger than </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="109"/>
        <source>图像保存(&amp;S)	Ctrl+S</source>
        <translation>&amp;Save image	Ctrl+S</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="110"/>
        <source>图像提取</source>
        <translation>Image capture</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="111"/>
        <source>图像提取(&amp;U)	Ctrl+U</source>
        <translation>Image capt&amp;ure	Ctrl+U</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="112"/>
        <source>图像提取参数设置</source>
        <translation>Image capture settings</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="113"/>
        <source>图像数据格式错误，请重试！</source>
        <translation>The image data is malformed; please try again!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="114"/>
        <source>图像数据超过1MB的接收区，请选择较小的提取尺寸后重试！</source>
        <translation>The image data exceeds the 1 MB receive area; choose a smaller capture size and try again!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="115"/>
        <source>图片保存</source>
        <translation>Save image</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="116"/>
        <source>块号 0-2</source>
        <translation>Block 0-2</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="117"/>
        <source>块号不能为空</source>
        <translation>The block number must not be empty</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="118"/>
        <source>多条码输出分隔符号设置(0-8个字符)：</source>
        <translation>Multi-barcode output separator (0-8 characters):</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="119"/>
        <source>多条码输出超时设置</source>
        <translation>Multi-barcode output timeout</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="120"/>
        <source>多码输出分隔符号配置</source>
        <translation>Multi-barcode output separator</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="121"/>
        <source>奇偶校验：</source>
        <translation>Parity:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="122"/>
        <source>宽度：</source>
        <translation>Width:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="123"/>
        <source>密钥-16进制字符</source>
        <translation>Key - hex characters</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="124"/>
        <source>密钥格式错误，请重试！</source>
        <translation>The key is malformed; please try again!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="125"/>
        <source>就绪</source>
        <translation>Ready</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="126"/>
        <source>工具(&amp;T)</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="127"/>
        <source>工具栏</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="128"/>
        <source>已保存配置：</source>
        <translation>Settings saved: </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="129"/>
        <source>已打开配置：</source>
        <translation>Settings opened: </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="130"/>
        <source>帮助 &gt; 保存通信记录…，或 quillon --trace 文件、QUILLON_TRACE=文件</source>
        <translation>Help &gt; Save wire trace…, or quillon --trace FILE, QUILLON_TRACE=FILE</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="131"/>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="132"/>
        <source>帮助文档(&amp;C)	Ctrl+C</source>
        <translation>&amp;Help guide	Ctrl+C</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="133"/>
        <source>开始</source>
        <translation>Start</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="134"/>
        <source>当前文档没有可保存为配置的设置条目（自定义条码不保存在配置中），请先添加设置！</source>
        <translation>The document has no setting entries to save as settings (custom barcodes are not saved in settings); add settings first!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="135"/>
        <source>当前文档没有解码输出数据！</source>
        <translation>The document has no decoded output data!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="136"/>
        <source>当前条码文档为空，请先编辑设置条码内容！</source>
        <translation>The barcode document is empty; edit the setting barcodes first!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="137"/>
        <source>当前没有可以保存的图像数据！</source>
        <translation>There is no image data to save!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="138"/>
        <source>当前没有可打印的配置信息，请先配置条码信息！</source>
        <translation>There is no configuration to print; configure barcodes first!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="139"/>
        <source>当前状态：</source>
        <translation>Current state:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="140"/>
        <source>当前视图：</source>
        <translation>Current view:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="141"/>
        <source>快门曝光控制</source>
        <translation>Shutter exposure control</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="142"/>
        <source>扇区 0-15</source>
        <translation>Sector 0-15</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="143"/>
        <source>扇区号不能为空</source>
        <translation>The sector number must not be empty</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="144"/>
        <source>扇区号错误(0-15)!</source>
        <translation>Wrong sector number (0-15)!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="145"/>
        <source>扇区块错误(0-2)!</source>
        <translation>Wrong sector block (0-2)!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="146"/>
        <source>打印文档(&amp;P)...	Ctrl+P</source>
        <translation>&amp;Print document...	Ctrl+P</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="147"/>
        <source>打印设置(&amp;R)...</source>
        <translation>P&amp;rint setup...</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="148"/>
        <source>打开 </source>
        <translation>Open </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="149"/>
        <source>打开配置(&amp;O)...	Ctrl+O</source>
        <translation>&amp;Open settings...	Ctrl+O</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="150"/>
        <source>扫描枪条码配置文档</source>
        <translation>Scanner configuration barcode document</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="151"/>
        <source>扫描设备输出数据显示：</source>
        <translation>Scanner output data:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="152"/>
        <source>换行符</source>
        <translation>Line feed</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="153"/>
        <source>提取图片设定像素超过最大限制</source>
        <translation>The capture size exceeds the maximum</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="154"/>
        <source>提取图片设定像素超过最小限制</source>
        <translation>The capture size is below the minimum</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="155"/>
        <source>撤消操作(&amp;U)	Ctrl+U</source>
        <translation>&amp;Undo	Ctrl+U</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="156"/>
        <source>数据位：</source>
        <translation>Data bits:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="158"/>
        <source>数据显示：</source>
        <translation>Data:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="159"/>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="160"/>
        <source>文档中已有条目。用配置文件中的条目替换它们，还是添加到文档末尾？</source>
        <translation>The document already has entries. Replace them with the entries of the settings file, or add these to the end of the document?</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="161"/>
        <source>断开设备(&amp;E)	Ctrl+E</source>
        <translation>Disconn&amp;ect device	Ctrl+E</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="162"/>
        <source>无法保存通信记录：</source>
        <translation>Cannot save the wire trace: </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="163"/>
        <source>无法开始打印：打印机或输出文件不可用。请检查打印机，或在打印对话框中选择打印到PDF文件。</source>
        <translation>Printing cannot start: the printer or output file is unavailable. Check the printer, or choose printing to a PDF file in the print dialog.</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="164"/>
        <source>无法打开配置文件，文档未改变：</source>
        <translation>Cannot open the settings file; the document is unchanged: </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="165"/>
        <source>无法识别的命令，请重试！</source>
        <translation>Unrecognised command; please try again!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="166"/>
        <source>无法连接设备，请先设置串口参数！</source>
        <translation>Cannot connect to the device; set the serial port parameters first!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="167"/>
        <source>是否要清空当前文档？</source>
        <translation>Clear the current document?</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="168"/>
        <source>曝光值超限最大限制！</source>
        <translation>The exposure value exceeds the maximum!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="169"/>
        <source>替换</source>
        <translation>Replace</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="170"/>
        <source>服务端标识</source>
        <translation>Server ID</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="171"/>
        <source>未指定文件名！</source>
        <translation>No file name given!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="172"/>
        <source>未连接设备，脱机</source>
        <translation>No device connected, offline</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="173"/>
        <source>条目过多，无法生成转换条码</source>
        <translation>Too many entries to make conversion barcodes</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="174"/>
        <source>条目过多，无法生成转换条码，请删除部分条目后重新转换！</source>
        <translation>Too many entries to make conversion barcodes; delete some entries and convert again!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="175"/>
        <source>条码宽度超过10240个模块，无法加入文档。</source>
        <translation>The barcode is wider than 10240 modules; it cannot be added to the document.</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="176"/>
        <source>条码类型名称不在列表中，请从列表中选择！</source>
        <translation>The symbology name is not in the list; choose one from the list!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="177"/>
        <source>条码识别设备版本信息</source>
        <translation>Barcode scanner version information</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="178"/>
        <source>条码转换(&amp;Y)	Ctrl+Y</source>
        <translation>Con&amp;vert barcodes	Ctrl+Y</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="179"/>
        <source>条码输出个数设置</source>
        <translation>Number of barcodes to output</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="180"/>
        <source>条码输出个数超限最大限制！</source>
        <translation>The number of barcodes exceeds the maximum!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="181"/>
        <source>条码输出超时设置(0-65535):</source>
        <translation>Barcode output timeout (0-65535):</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="182"/>
        <source>条码输出顺序内容设置：</source>
        <translation>Barcode output order:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="183"/>
        <source>条码输出顺序设置</source>
        <translation>Barcode output order</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="184"/>
        <source>条码配置</source>
        <translation>Barcode configuration</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="185"/>
        <source>条码颜色反转</source>
        <translation>Invert colours</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="186"/>
        <source>校验和错误</source>
        <translation>checksum error</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="187"/>
        <source>正在保存通信记录：</source>
        <translation>Saving the wire trace: </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="188"/>
        <source>没有可以打开帮助文档的程序。操作指南位于：
</source>
        <translation>There is no program that can open the help guide. The operator&apos;s guide is at:
</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="189"/>
        <source>没有打开 </source>
        <translation>No permission to open </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="190"/>
        <source>没有找到帮助文档。操作指南应安装在：
</source>
        <translation>The help guide was not found. The operator&apos;s guide should be installed at:
</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="191"/>
        <source>波特率：</source>
        <translation>Baud rate:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="192"/>
        <source>消息长度超过40字符！</source>
        <translation>The message is longer than 40 characters!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="193"/>
        <source>添加到末尾</source>
        <translation>Add to the end</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="194"/>
        <source>添加文字附加信息</source>
        <translation>Add text information</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="195"/>
        <source>清空文档(&amp;N)	Ctrl+N</source>
        <translation>&amp;New document	Ctrl+N</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="196"/>
        <source>清除</source>
        <translation>Clear</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="197"/>
        <source>生产日期：</source>
        <translation>Production date: </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="198"/>
        <source>生成QR配置码</source>
        <translation>Make QR codes</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="199"/>
        <source>生成配置条码</source>
        <translation>Make codes</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="200"/>
        <source>监控(&amp;M)</source>
        <translation>&amp;Monitor</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="201"/>
        <source>监控界面(&amp;W)	Ctrl+W</source>
        <translation>&amp;Monitor view	Ctrl+W</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="202"/>
        <source>相同译码结果时间间隔设置</source>
        <translation>Interval between identical decoded results</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="203"/>
        <source>硬件版本：</source>
        <translation>Hardware version: </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="204"/>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="205"/>
        <source>端口号（1 到 1024）或波特率无效，或设备不接受该波特率。</source>
        <translation>The port number (1 to 1024) or the baud rate is invalid, or the device does not accept that baud rate.</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="206"/>
        <source>端口号：</source>
        <translation>Port number:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="207"/>
        <source>端口选择：</source>
        <translation>Port:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="209"/>
        <source>编辑(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="210"/>
        <source>行</source>
        <translation>: </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="211"/>
        <source>视图切换(&amp;Q)</source>
        <translation>Switch &amp;view</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="212"/>
        <source>解码保存(&amp;O)	Ctrl+O</source>
        <translation>Save &amp;decoded	Ctrl+O</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="213"/>
        <source>解码输出</source>
        <translation>Decoded output</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="214"/>
        <source>触发模式下的超时限制，有效值为0－65535毫秒：</source>
        <translation>Timeout in trigger mode, 0-65535 ms:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="215"/>
        <source>触发超时设置</source>
        <translation>Trigger timeout</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="216"/>
        <source>触发超时超过最大限制！</source>
        <translation>The trigger timeout exceeds the maximum!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="217"/>
        <source>记录不足5个字节</source>
        <translation>record shorter than 5 bytes</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="218"/>
        <source>记录已全部发送，设备未报告加载完毕！</source>
        <translation>All records were sent, but the device did not report that loading is complete!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="219"/>
        <source>设备(&amp;S)</source>
        <translation>&amp;Device</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="220"/>
        <source>设备停止发送图像数据，提取未完成，请重试！</source>
        <translation>The device stopped sending image data; the capture is incomplete, please try again!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="14"/>
        <source> 发送-&gt;  长度:%1  数据:</source>
        <translation> Sent-&gt;  Length:%1  Data:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="24"/>
        <source> 返回-&gt;  长度:%1  数据:</source>
        <translation> Reply-&gt;  Length:%1  Data:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="52"/>
        <source>the profile, as read -o or the window&apos;s 保存配置 writes it; - reads standard input</source>
        <translation>the profile, as read -o or the window&apos;s Save settings writes it; - reads standard input</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="157"/>
        <source>数据提取中</source>
        <translation>Extracting data</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="208"/>
        <source>第 %1 页 / 共 %2 页</source>
        <translation>Page %1 of %2</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="221"/>
        <source>设备图像分辨率为：</source>
        <translation>Device image resolution: </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="222"/>
        <source>设备序列号：</source>
        <translation>Serial number: </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="223"/>
        <source>设备应答</source>
        <translation>Device reply</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="224"/>
        <source>设备无应答，传输停止！</source>
        <translation>The device does not answer; transfer stopped!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="225"/>
        <source>设备版本(&amp;V)	Ctrl+V</source>
        <translation>Device &amp;version	Ctrl+V</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="226"/>
        <source>设备类型：</source>
        <translation>Device type: </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="227"/>
        <source>设备规格：</source>
        <translation>Device model: </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="228"/>
        <source>设备通信波特率修改，请重新联机！</source>
        <translation>The device&apos;s baud rate was changed; please connect again!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="229"/>
        <source>设备通信设置成HID-POS模式，无法继续联机！</source>
        <translation>The device is set to HID-POS mode; cannot stay online!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="230"/>
        <source>设备通信设置成HID模式，无法继续联机！</source>
        <translation>The device is set to HID mode; cannot stay online!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="231"/>
        <source>设备配置擦除</source>
        <translation>Erase device configuration</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="232"/>
        <source>设置值过长，命令帧超过1024字节，未发送！</source>
        <translation>The setting value is too long: the command frame exceeds 1024 bytes and was not sent!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="233"/>
        <source>设置写保持寄存器数量，有效值为0－1024：</source>
        <translation>Number of holding registers to write, 0-1024:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="234"/>
        <source>设置写保持寄存器起止地址，有效值为0－65535：</source>
        <translation>Start address of holding registers to write, 0-65535:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="235"/>
        <source>设置条码输出个数(2-6):</source>
        <translation>Number of barcodes to output (2-6):</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="236"/>
        <source>译码不同结果时间间隔，有效值为0－65535，单位ms：</source>
        <translation>Interval between different decoded results, 0-65535 ms:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="237"/>
        <source>译码相同结果时间间隔，有效值为0－65535，单位ms：</source>
        <translation>Interval between identical decoded results, 0-65535 ms:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="238"/>
        <source>该端口没有对应的设备：设备可能已被拔出。请插上设备，再连接。</source>
        <translation>No device belongs to this port: the device may have been unplugged. Plug in the device, then connect.</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="239"/>
        <source>该选项没有参数对话框</source>
        <translation>This option has no parameter dialog</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="240"/>
        <source>该选项需要参数，请写成 代码=参数</source>
        <translation>This option needs a parameter; write it as code=parameter</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="241"/>
        <source>说明</source>
        <translation>Description</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="242"/>
        <source>请先初始化通信串口参数！</source>
        <translation>Set up the serial port parameters first!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="243"/>
        <source>读取设备参数未完成：设备已停止应答。</source>
        <translation>Reading the device settings did not finish: the device stopped answering.</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="244"/>
        <source>软件版本：</source>
        <translation>Software version: </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="245"/>
        <source>输入16进制长度错误，请重试！</source>
        <translation>Wrong hexadecimal length; please try again!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="246"/>
        <source>输入命令长度错误，请重试！</source>
        <translation>Wrong command length; please try again!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="247"/>
        <source>输出格式：</source>
        <translation>Output format:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="248"/>
        <source>进入休眠时长设置</source>
        <translation>Sleep delay</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="249"/>
        <source>进入休眠状态等待时长，有效值为0－65535毫秒：</source>
        <translation>Time to wait before sleeping, 0-65535 ms:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="250"/>
        <source>连接</source>
        <translation>Connect</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="251"/>
        <source>连接设备(&amp;T)	Ctrl+T</source>
        <translation>Connec&amp;t device	Ctrl+T</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="252"/>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="253"/>
        <source>选择文件</source>
        <translation>Choose file</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="254"/>
        <source>通信记录 (*.trace);;所有文件 (*)</source>
        <translation>Wire traces (*.trace);;All files (*)</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="255"/>
        <source>通信记录已保存：</source>
        <translation>Wire trace saved: </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="256"/>
        <source>通信记录已停止：</source>
        <translation>Wire trace stopped: </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="257"/>
        <source>通信记录：</source>
        <translation>Wire trace: </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="258"/>
        <source>通讯参数配置</source>
        <translation>Communication settings</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="259"/>
        <source>配置命令返回错误，请重试！</source>
        <translation>The configuration command returned an error; please try again!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="260"/>
        <source>配置文件 (*.json);;所有文件 (*)</source>
        <translation>Settings files (*.json);;All files (*)</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="261"/>
        <source>配置文件中没有设置条目，文档未改变。</source>
        <translation>The settings file has no setting entries; the document is unchanged.</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="262"/>
        <source>配置文件已不存在，已从最近打开的文件中移除：</source>
        <translation>The settings file no longer exists and was removed from the recent files: </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="263"/>
        <source>配置文件已存在，是否替换？</source>
        <translation>The settings file already exists. Replace it?</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="264"/>
        <source>配置文件设置错误，无法完成初始化！</source>
        <translation>The configuration file is wrong; initialisation cannot complete!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="265"/>
        <source>配置文件：</source>
        <translation>Settings file:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="266"/>
        <source>配置界面(&amp;G)	Ctrl+G</source>
        <translation>Confi&amp;guration view	Ctrl+G</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="267"/>
        <source>配置码</source>
        <translation>Configuration code</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="268"/>
        <source>重新连接 </source>
        <translation>Reconnect </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="269"/>
        <source>镜头曝光值设置(0-65535)：</source>
        <translation>Lens exposure value (0-65535):</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="270"/>
        <source>长度与字节数不符</source>
        <translation>length does not match the byte count</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="271"/>
        <source>附加信息（最多40个字符；勾选HEX时输入16进制字节）：</source>
        <translation>Additional text (at most 40 characters; with HEX ticked, enter hex bytes):</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="272"/>
        <source>非法的16进制字符，请重试！</source>
        <translation>Invalid hexadecimal characters; please try again!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="273"/>
        <source>高度：</source>
        <translation>Height:</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="274"/>
        <source>（</source>
        <translation> (</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="275"/>
        <source>（看不到是哪个程序：它可能属于其他用户）。</source>
        <translation> (cannot tell which program: it may belong to another user).</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="276"/>
        <source>（进程 </source>
        <translation> (process </translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="277"/>
        <source>）</source>
        <translation>)</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="280"/>
        <source>，联机</source>
        <translation>, online</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="278"/>
        <source>，传输停止！</source>
        <translation>; transfer stopped!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="279"/>
        <source>，未发送任何数据！</source>
        <translation>; no data was sent!</translation>
    </message>
    <message>
        <location filename="SourceTexts.cpp" line="281"/>
        <source>：</source>
        <translation>: </translation>
    </message>
</context>
</TS>
