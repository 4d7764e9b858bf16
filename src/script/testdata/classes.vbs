' Classes: fields, properties, methods, Me, initialise and terminate.
Class Counter
    Private count_
    Public Name

    Private Sub Class_Initialize()
        count_ = 0
        Name = "unnamed"
        WScript.Echo "init"
    End Sub

    Private Sub Class_Terminate()
        WScript.Echo "terminate " & Name
    End Sub

    Public Property Get Count()
        Count = count_
    End Property

    Public Property Let Count(value)
        If value < 0 Then Err.Raise 5
        count_ = value
    End Property

    Public Function Increment(by)
        count_ = count_ + by
        Set Increment = Me
    End Function

    Public Sub Reset
        count_ = 0
    End Sub
End Class

Class Holder
    Private item_
    Public Property Set Item(o)
        Set item_ = o
    End Property
    Public Property Get Item()
        Set Item = item_
    End Property
    Public Default Function Describe()
        Describe = "holder of " & item_.Name
    End Function
End Class

Dim c
Set c = New Counter
c.Name = "first"
c.Count = 5
WScript.Echo c.Count
c.Increment(2).Increment 3
WScript.Echo c.Count
c.Reset
WScript.Echo c.Count
WScript.Echo TypeName(c), IsObject(c), c Is c

Dim h
Set h = New Holder
Set h.Item = c
WScript.Echo h.Item.Name
WScript.Echo h
WScript.Echo "value: " & h

On Error Resume Next
c.Count = -1
WScript.Echo "raise:", Err.Number
Err.Clear
WScript.Echo c.count_
WScript.Echo "private:", Err.Number, Err.Description
On Error GoTo 0

Set h = Nothing
Set c = Nothing
WScript.Echo "done"
